#include "tests/support/LineTap.h"

#include "core/collect/Block.h"

#include <utility>
#include <vector>

namespace fenta21::test {

std::string LineTap::receive(std::string_view bytes) {
    std::vector<std::function<void()>> due;
    {
        std::lock_guard lock(mutex_);
        for (char byte : bytes) follow(byte, due);
    }
    // Outside the lock: an action may cut the line or inject bytes.
    for (auto& action : due) action();
    {
        std::lock_guard lock(mutex_);
        if (cut_) return {};  // the device hears nothing either
    }
    std::string answer = device_.receive(bytes);
    std::lock_guard lock(mutex_);
    return std::exchange(injected_, {}) + answer;
}

std::string LineTap::unprompted() {
    std::string talk = device_.unprompted();
    std::lock_guard lock(mutex_);
    return cut_ ? std::string() : talk;
}

// The program's bytes: text lines, the start byte after a collection command, the handshake.
void LineTap::follow(char c, std::vector<std::function<void()>>& due) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte == '\r' || byte == '\n') {
        if (line_.empty()) return;
        if (line_ == "copy" || line_ == "acopy") {
            reached(kAtCommand, due);
            awaitingStart_ = true;
        } else {
            awaitingStart_ = false;
            if (line_ == "clear") {
                ++clears_;
                if (clearWatcher_) due.push_back(clearWatcher_);
            }
        }
        inTransfer_ = false;
        line_.clear();
        return;
    }
    if (byte == kStartCRC && awaitingStart_ && line_.empty()) {
        awaitingStart_ = false;
        inTransfer_ = true;
        acks_ = 0;
        reached(kAtStart, due);
        return;
    }
    if (byte == kACK && inTransfer_) {
        reached(++acks_, due);
        return;
    }
    if (byte == kCAN) {
        awaitingStart_ = inTransfer_ = false;
        return;
    }
    if (byte >= 0x20 && byte < 0x7F) line_.push_back(c);
    else line_.clear();
}

void LineTap::reached(int moment, std::vector<std::function<void()>>& due) {
    auto [from, to] = plan_.equal_range(moment);
    for (auto it = from; it != to; ++it) due.push_back(std::move(it->second));
    plan_.erase(from, to);
}

void LineTap::at(int moment, std::function<void()> action) {
    std::lock_guard lock(mutex_);
    plan_.emplace(moment, std::move(action));
}

void LineTap::onClear(std::function<void()> watcher) {
    std::lock_guard lock(mutex_);
    clearWatcher_ = std::move(watcher);
}

void LineTap::cut() {
    std::lock_guard lock(mutex_);
    cut_ = true;
}

void LineTap::inject(std::string bytes) {
    std::lock_guard lock(mutex_);
    injected_ += bytes;
}

void LineTap::reset() {
    std::lock_guard lock(mutex_);
    plan_.clear();
    cut_ = false;
    injected_.clear();
    line_.clear();
    awaitingStart_ = inTransfer_ = false;
}

int LineTap::clearsSeen() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

}  // namespace fenta21::test
