#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fenta21 {

class Session;

// The port the keyboard command mode opens when the line is idle: a COM port number (1-9)
// and a speed index (0-9).
struct KeyboardPort {
    int portNumber = 1;
    int speedIndex = 5;
};
// The saved direct-line port and speed.
KeyboardPort savedDirectPort(const Session& session);

// The keyboard command mode: a terminal on the serial line. Typed lines go out as they are,
// the control bytes ACK, NAK and CAN on request, and a receive worker collects every line
// that comes back. No reply is checked and nothing is retried.
//
// Opened on an idle line it opens the port itself (no link handshake) and closes it again;
// on a line already linked it leaves the link as it found it. While the panel is running the
// receiver holds the line guard, so the panel's polling keeps off the line.
class KeyboardMode {
public:
    // `onLine` is told every received line, on the receive worker's thread.
    explicit KeyboardMode(Session& session, std::function<void(const std::string&)> onLine = {});
    ~KeyboardMode();
    KeyboardMode(const KeyboardMode&) = delete;
    KeyboardMode& operator=(const KeyboardMode&) = delete;

    // Starts the mode. False when the port could not be opened ("通信ポート使用不可 !!   "
    // is reported and the line is idle again); the mode is then not running.
    bool open(KeyboardPort port);
    // Ends the mode: the receiver stops after its current read (at most one read time-out),
    // then a port the mode opened is closed.
    void close();
    bool isOpen() const { return open_; }

    // Sends a typed line. "CLEAR" (which erases the logger's records) is asked about first;
    // false when nothing was sent.
    bool send(const std::string& text);
    void sendAck();
    void sendNak();
    void sendCan();

    std::vector<std::string> receivedLines() const;

private:
    void receive(std::promise<void>& ready);
    void takeDown();

    Session& session_;
    std::function<void(const std::string&)> onLine_;
    std::atomic<int> closing_{0};
    bool open_ = false;
    bool openedPort_ = false;
    std::thread receiver_;
    mutable std::mutex linesMutex_;
    std::vector<std::string> lines_;
};

// The commands the mode's drop-down offers, in their order; the empty one sends a bare line
// end, which wakes a logger.
const std::vector<std::string>& keyboardPresetCommands();

inline constexpr const char* kClearQuestion = "全データを削除します。  よろしいですか ？？ ";
inline constexpr const char* kPortUnusableMessage = "通信ポート使用不可 !!   ";
inline constexpr int kKeyboardLineMax = 70;

}  // namespace fenta21
