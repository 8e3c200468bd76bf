#include "core/app/KeyboardMode.h"

#include "core/session/Session.h"
#include "core/report/Report.h"
#include "core/protocol/LineGuard.h"
#include "core/serial/Channel.h"

#include <chrono>
#include <future>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kCan = 0x18;
// An over-long line is read to its end and dropped, but a line that never ends is given up
// after this many buffers, so that a stream of garbage cannot hold the receiver.
constexpr int kDiscardBuffers = 64;

}  // namespace

const std::vector<std::string>& keyboardPresetCommands() {
    static const std::vector<std::string> presets = {
        "AT",    "ATDT",   "",      "connect", "rome",   "time=", "time", "intv=", "intv",
        "pretm=", "pretm", "after=", "after",  "coms",   "mode =", "mode", "moni",  "data",
        "radj=", "radj",   "memo =", "memo",   "batt",   "copy",  "acopy", "text"};
    return presets;
}

KeyboardPort savedDirectPort(const Session& session) {
    return KeyboardPort{session.settings.directPortIndex + 1, session.settings.directSpeedIndex};
}

KeyboardMode::KeyboardMode(Session& session, std::function<void(const std::string&)> onLine)
    : session_(session), onLine_(std::move(onLine)) {}

KeyboardMode::~KeyboardMode() { close(); }

bool KeyboardMode::open(KeyboardPort port) {
    if (open_) return true;
    TTYInfo* channel = session_.channel();
    openedPort_ = session_.line.claim();
    if (openedPort_) {
        int speed = port.speedIndex >= 0 && port.speedIndex < static_cast<int>(kSpeedTable.size()) ? port.speedIndex : 5;
        channel->portNumber.store(static_cast<std::uint8_t>(port.portNumber));
        channel->baudRate.store(kSpeedTable[static_cast<std::size_t>(speed)]);
        if (openChannel(channel) == 0) {
            report(session_, kPortUnusableMessage);
            takeDown();
            openedPort_ = false;
            return false;
        }
    }
    closing_.store(0);
    {
        std::lock_guard lock(linesMutex_);
        lines_.clear();
    }
    open_ = true;
    // Nothing is sent before the receiver has cleared the line and taken the guard, so that
    // the first answer can be neither purged nor taken for the guard's.
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    receiver_ = std::thread([this, &ready] { receive(ready); });
    started.wait();
    return true;
}

void KeyboardMode::close() {
    if (!open_) return;
    closing_.store(1);
    if (receiver_.joinable()) receiver_.join();
    open_ = false;
    session_.clock.sleepFor(1s);
    // A line that was linked before the mode started stays as it was.
    if (openedPort_ && session_.line.state() == LineState::Connecting) takeDown();
    openedPort_ = false;
}

void KeyboardMode::takeDown() {
    session_.line.disconnect();
    session_.host.showNotice("  回線切断中...  ");
    closeChannel(session_.channel());
    session_.host.hideNotice();
    session_.line.release();
}

bool KeyboardMode::send(const std::string& text) {
    if (text == "CLEAR" && session_.host.ask(Question::YesNo, kClearQuestion) != Answer::Yes) return false;
    TTYInfo* channel = session_.channel();
    purgeInput(channel);
    return sendLineCRLF(channel, text) != 0;
}

void KeyboardMode::sendAck() { sendByte(session_.channel(), kAck); }
void KeyboardMode::sendNak() { sendByte(session_.channel(), kNak); }
void KeyboardMode::sendCan() { sendByte(session_.channel(), kCan); }

std::vector<std::string> KeyboardMode::receivedLines() const {
    std::lock_guard lock(linesMutex_);
    return lines_;
}

void KeyboardMode::receive(std::promise<void>& ready) {
    TTYInfo* channel = session_.channel();
    const Clock& clock = session_.clock;
    purgeInput(channel);
    const bool panelRunning = session_.line.panelLinkActive() == 1;
    if (panelRunning) acquireLineGuard(session_);
    clock.sleepFor(100ms);
    ready.set_value();

    std::string line;
    while (true) {
        const auto started = std::chrono::steady_clock::now();
        int result = readLineCR(channel, line, kKeyboardLineMax);
        if (closing_.load() == 1) break;
        if (result == kLineRead) {
            {
                std::lock_guard lock(linesMutex_);
                lines_.push_back(line);
            }
            if (onLine_) onLine_(line);
        } else if (result == kLineFull) {
            // Its tail would otherwise show up as a line of its own.
            std::string rest;
            for (int i = 0; i < kDiscardBuffers && closing_.load() == 0; ++i)
                if (readLineCR(channel, rest, kKeyboardLineMax) != kLineFull) break;
        } else if (std::chrono::steady_clock::now() - started < clock.scaled(100ms)) {
            // A port that fails at once (closed, or gone) would otherwise be read in a tight loop.
            clock.sleepFor(100ms);
        }
    }
    if (panelRunning) releaseLineGuard(session_);
}

}  // namespace fenta21
