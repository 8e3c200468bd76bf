#include "sim/SimModem.h"

#include <algorithm>
#include <cctype>

namespace fenta21::sim {
namespace {

constexpr std::size_t kLongestLine = 4096;

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

SimModem::SimModem(bool echo) : initialEcho_(echo), echo_(echo) {}

std::string SimModem::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    std::string out;
    for (char c : bytes) {
        // A modem takes CR as the end of a command; the LF a program may add is nothing.
        if (c == '\n') continue;
        if (c != '\r') {
            // Garbage that never ends a line must not pile up; no command is anywhere near this long.
            if (pending_.size() >= kLongestLine) pending_.clear();
            pending_.push_back(c);
            continue;
        }
        std::string line;
        line.swap(pending_);
        received_.push_back(line);
        if (faults_.silent) continue;
        if (echo_) out += line + "\r\n";
        out += answer(line);
    }
    return out;
}

std::string SimModem::answer(const std::string& line) {
    const std::string command = upper(line);
    if (command.rfind("AT", 0) != 0) return {};
    if (!faults_.errorCommand.empty() && command == upper(faults_.errorCommand)) return "ERROR\r\n";
    auto found = replies_.find(command);
    if (found != replies_.end()) return found->second + "\r\n";
    // Echo follows E0/E1 anywhere in a setting line (a dial string holds no E); Z restores
    // the power-on setting.
    if (command.rfind("ATZ", 0) == 0) echo_ = initialEcho_;
    if (command.rfind("ATD", 0) != 0) {
        if (command.find("E0") != std::string::npos) echo_ = false;
        if (command.find("E1") != std::string::npos) echo_ = true;
    }
    return "OK\r\n";
}

void SimModem::setReply(const std::string& command, const std::string& reply) {
    std::lock_guard lock(mutex_);
    replies_[upper(command)] = reply;
}

void SimModem::setFaults(const ModemFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

std::vector<std::string> SimModem::receivedLines() const {
    std::lock_guard lock(mutex_);
    return received_;
}

bool SimModem::echoing() const {
    std::lock_guard lock(mutex_);
    return echo_;
}

}  // namespace fenta21::sim
