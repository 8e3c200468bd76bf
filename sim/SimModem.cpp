#include "sim/SimModem.h"

#include "sim/HayesCommands.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <utility>

namespace fenta21::sim {
namespace {

constexpr std::size_t kLongestLine = 4096;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

SimModem::SimModem(bool echo)
    : initialEcho_(echo), echo_(echo), now_([] { return std::chrono::steady_clock::now(); }), escape_(timings_.escapeGuard) {}

std::string SimModem::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    const TimePoint now = now_();
    std::string out = settle(now);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        // The LF of a CR LF pair belongs to the command line it ends; on-line it would reach
        // the logger as an empty line, and while dialling it would stop the dial.
        const bool afterCr = std::exchange(afterCommandCr_, false);
        if (afterCr && c == '\n') continue;
        if (state_ == State::OnLine) {
            out += carryOnLine(bytes.substr(i), now);
            break;
        }
        if (state_ == State::Ringing) {
            // Any byte stops the dialling, and is lost.
            state_ = State::Command;
            out += result("NO CARRIER");
            continue;
        }
        out += commandByte(c, now);
    }
    return out;
}

// What has happened since the last read, now that time has passed.
std::string SimModem::settle(TimePoint now) {
    if (state_ == State::Ringing && now >= ringingUntil_) {
        state_ = State::Command;
        return result("NO CARRIER");
    }
    if (state_ == State::OnLine && escape_.completedBy(now)) {
        state_ = State::CallHeld;
        return result("OK");
    }
    return {};
}

std::string SimModem::commandByte(char c, TimePoint now) {
    if (c == '\n') return {};  // a modem takes CR as the end of a command; LF is nothing
    if (c != '\r') {
        // Garbage that never ends a line must not pile up; no command is anywhere near this long.
        if (pending_.size() >= kLongestLine) pending_.clear();
        pending_.push_back(c);
        return {};
    }
    afterCommandCr_ = true;
    std::string line;
    line.swap(pending_);
    return commandLine(line, now);
}

std::string SimModem::commandLine(const std::string& line, TimePoint now) {
    const std::size_t start = commandStart(line);
    const bool isCommand = start != std::string::npos;
    const std::string command = isCommand ? line.substr(start - 2) : line;
    received_.push_back(command);
    if (faults_.silent) return {};
    std::string out = echo_ ? line + "\r\n" : std::string();
    if (isCommand) out += execute(command, now);
    return out;
}

std::string SimModem::execute(const std::string& command, TimePoint now) {
    const std::string key = upper(command);
    if (!faults_.errorCommand.empty() && key == upper(faults_.errorCommand)) return result("ERROR");
    if (auto found = replies_.find(key); found != replies_.end()) return found->second + "\r\n";
    for (const HayesCommand& c : parseHayesLine(command).value_or(std::vector<HayesCommand>{})) {
        if (c.name == "E" && (c.argument.empty() || c.argument == "0" || c.argument == "1")) {
            echo_ = c.argument == "1";
        } else if (c.name == "Q" && (c.argument.empty() || c.argument == "0" || c.argument == "1")) {
            quiet_ = c.argument == "1";
        } else if (c.name == "Z") {
            if (state_ == State::CallHeld) {
                endCall();
                ++hangUps_;
            }
            echo_ = initialEcho_;
            quiet_ = false;
        } else if (c.name == "H" && (c.argument.empty() || c.argument == "0")) {
            if (state_ == State::CallHeld) {
                endCall();
                ++hangUps_;
            }
        } else if (c.name == "O") {
            if (state_ != State::CallHeld) return result("NO CARRIER");
            state_ = State::OnLine;
            escape_.restart(now);
            return result(lineSpeed_ == 0 ? "CONNECT" : "CONNECT " + std::to_string(lineSpeed_));
        } else if (c.name == "D") {
            return dial(c.argument, now);
        }
    }
    return result("OK");
}

std::string SimModem::dial(const std::string& dialString, TimePoint now) {
    if (state_ == State::CallHeld) return result("ERROR");  // one call at a time
    std::string number = dialString;
    if (!number.empty() && (std::toupper(static_cast<unsigned char>(number[0])) == 'T' ||
                            std::toupper(static_cast<unsigned char>(number[0])) == 'P'))
        number.erase(0, 1);
    dialled_.push_back(number);
    auto found = stations_.find(dialledDigits(number));
    std::optional<std::string> greeting;
    if (found != stations_.end()) greeting = found->second->ring();
    if (!greeting) {
        state_ = State::Ringing;
        ringingUntil_ = now + timings_.ringTime;
        return {};
    }
    call_ = found->second.get();
    callNumber_ = number;
    carried_ = 0;
    state_ = State::OnLine;
    escape_.restart(now);
    return result(lineSpeed_ == 0 ? "CONNECT" : "CONNECT " + std::to_string(lineSpeed_)) + overTheLine(*greeting);
}

std::string SimModem::carryOnLine(std::string_view bytes, TimePoint now) {
    // Switched off in mid-call, the modem loses the call and carries nothing either way.
    if (faults_.silent) {
        endCall();
        ++droppedCalls_;
        return {};
    }
    std::string data = escape_.pass(bytes, now);
    if (data.empty()) return {};
    data.resize(std::min(data.size(), lineAllowance()));
    carried_ += data.size();
    return overTheLine(call_->carry(data));
}

// The station's bytes as they reach the caller: all of them, or those before the line drops.
std::string SimModem::overTheLine(std::string bytes) {
    const std::size_t allowance = lineAllowance();
    if (bytes.size() < allowance) {
        carried_ += bytes.size();
        return bytes;
    }
    bytes.resize(allowance);
    carried_ += allowance;
    endCall();
    ++droppedCalls_;
    return bytes + result("NO CARRIER");
}

// How many more bytes the line carries before it drops.
std::size_t SimModem::lineAllowance() const {
    const std::size_t limit = call_->faults().dropAfterBytes;
    if (limit == 0) return std::numeric_limits<std::size_t>::max();
    return limit > carried_ ? limit - carried_ : 0;
}

void SimModem::endCall() {
    if (call_) call_->hangUp();
    call_ = nullptr;
    callNumber_.clear();
    state_ = State::Command;
}

std::string SimModem::result(const std::string& text) const {
    if (quiet_ || faults_.silent) return {};
    return text + "\r\n";
}

void SimModem::setLineSpeed(std::uint32_t bitsPerSecond) {
    std::lock_guard lock(mutex_);
    lineSpeed_ = bitsPerSecond;
}

RemoteStation& SimModem::addStation(const std::string& number, int units) {
    std::lock_guard lock(mutex_);
    auto& slot = stations_[dialledDigits(number)];
    if (!slot) slot = std::make_unique<RemoteStation>(number, units);
    return *slot;
}

RemoteStation* SimModem::station(const std::string& number) const {
    std::lock_guard lock(mutex_);
    auto found = stations_.find(dialledDigits(number));
    return found == stations_.end() ? nullptr : found->second.get();
}

void SimModem::setReply(const std::string& command, const std::string& reply) {
    std::lock_guard lock(mutex_);
    replies_[upper(command)] = reply;
}

void SimModem::setFaults(const ModemFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

void SimModem::setTimings(const ModemTimings& timings) {
    std::lock_guard lock(mutex_);
    timings_ = timings;
    escape_ = EscapeSequence(timings.escapeGuard);
    escape_.restart(now_());
}

void SimModem::setTimeSource(std::function<TimePoint()> now) {
    std::lock_guard lock(mutex_);
    now_ = std::move(now);
}

std::vector<std::string> SimModem::receivedLines() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<std::string> SimModem::dialledNumbers() const {
    std::lock_guard lock(mutex_);
    return dialled_;
}

bool SimModem::echoing() const {
    std::lock_guard lock(mutex_);
    return echo_;
}

bool SimModem::quiet() const {
    std::lock_guard lock(mutex_);
    return quiet_;
}

bool SimModem::onLine() const {
    std::lock_guard lock(mutex_);
    return state_ == State::OnLine;
}

std::string SimModem::connectedNumber() const {
    std::lock_guard lock(mutex_);
    return callNumber_;
}

RemoteStation* SimModem::connectedStation() const {
    std::lock_guard lock(mutex_);
    return call_;
}

int SimModem::hangUps() const {
    std::lock_guard lock(mutex_);
    return hangUps_;
}

int SimModem::droppedCalls() const {
    std::lock_guard lock(mutex_);
    return droppedCalls_;
}

}  // namespace fenta21::sim
