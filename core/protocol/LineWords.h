#pragma once

#include "core/base/Guarded.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace fenta21 {

class EventHub;

// Who owns the line. Link commands start only from Idle; disconnection only from Linked.
enum class LineState : std::int16_t { Disconnecting = -1, Idle = 0, Linked = 1, Connecting = 2 };

enum class CollectCommand : std::uint8_t { Copy, AllCopy, Text };

// The logger command that a collection command stands for: "copy", "acopy" or "text".
const char* collectCommandText(CollectCommand command);

inline constexpr const char* kLineBusyMessage = "すでに回線接続中です!!     ";

// The words that the window, the workers and the scheduler share about the line. Each is
// written by one thread and read by others, so each is atomic; they change only through these
// methods, so that every change of owner is announced and no two threads can both take the line.
class LineWords {
public:
    explicit LineWords(EventHub& events) : events_(events) {}
    LineWords(const LineWords&) = delete;
    LineWords& operator=(const LineWords&) = delete;

    LineState state() const { return state_.load(); }
    // Takes the idle line for a new link in one step (idle -> setting up). Two threads that
    // try at once (the scheduler and a command of the window) can never both win: the loser
    // is told the line is busy instead of sharing the port.
    bool claim();
    void link() { setState(LineState::Linked); }
    void release() { setState(LineState::Idle); }
    void disconnect() { setState(LineState::Disconnecting); }
    // Sets who owns the line and announces it as LineStateChanged when that is a change.
    void setState(LineState state);

    // True when the link that is up is the user's own: the automatic, manual or remote link
    // that the panel runs on. Only such a link may carry a collection that did not set it up;
    // a link that a station collection or another worker holds is never shared.
    bool userLinkUp() const { return state() == LineState::Linked && panelLinkActive() == 1; }

    // COM port 1-9 for the next direct link; -1 = search from the saved port onward.
    int linkPort() const { return linkPortNumber_.load(); }
    void setLinkPort(int port) { linkPortNumber_.store(static_cast<std::int16_t>(port)); }
    // -1 = search the speeds, 0-9 a speed index; the speed in bit/s once a port is open.
    int speed() const { return lineSpeed_.load(); }
    void setSpeed(int speed) { lineSpeed_.store(speed); }

    // 1 while the panel runs on the link that is up.
    int panelLinkActive() const { return panelLinkActive_.load(); }
    void setPanelLinkActive(int active) { panelLinkActive_.store(static_cast<std::int16_t>(active)); }
    // The function key the view left for the heartbeat, 0 none.
    int pendingFunctionKey() const { return pendingFunctionKey_.load(); }
    void setPendingFunctionKey(int key) { pendingFunctionKey_.store(key); }
    // The heartbeat's tick count.
    int tickCounter() const { return tickCounter_.load(); }
    void setTickCounter(int ticks) { tickCounter_.store(static_cast<std::int16_t>(ticks)); }

    CollectCommand collectCommand() const { return collectCommand_.load(); }
    void setCollectCommand(CollectCommand command) { collectCommand_.store(command); }

    // Takes the linked line for one collection; false while another collection holds it. The
    // user's own link can carry the window's direct collection and a station collection, but
    // never both at once.
    bool beginCollection() { return !collecting_.exchange(true); }
    bool collecting() const { return collecting_.load(); }
    void endCollection() { collecting_.store(false); }

    Guarded<std::string> lastDataFile;

private:
    EventHub& events_;
    std::atomic<LineState> state_{LineState::Idle};
    std::atomic<std::int16_t> linkPortNumber_{-1};
    std::atomic<std::int32_t> lineSpeed_{-1};
    std::atomic<std::int16_t> panelLinkActive_{0};
    std::atomic<std::int32_t> pendingFunctionKey_{0};
    std::atomic<std::int16_t> tickCounter_{0};
    std::atomic<CollectCommand> collectCommand_{CollectCommand::Copy};
    std::atomic<bool> collecting_{false};
};

// Takes the linked line for one collection, released with the object. Two collections that
// would share one link (the window's direct collection and a station collection over the
// panel's link) cannot both hold it.
class CollectionClaim {
public:
    explicit CollectionClaim(LineWords& line) : line_(line), held_(line.beginCollection()) {}
    ~CollectionClaim() {
        if (held_) line_.endCollection();
    }
    CollectionClaim(const CollectionClaim&) = delete;
    CollectionClaim& operator=(const CollectionClaim&) = delete;
    bool held() const { return held_; }

private:
    LineWords& line_;
    bool held_;
};

}  // namespace fenta21
