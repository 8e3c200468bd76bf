#include "sim/SimLogger.h"

#include <cstdio>

namespace fenta21::sim {

SimLogger::SimLogger() = default;

std::string SimLogger::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    std::string out;
    for (char c : bytes) {
        if (c == '\r') continue;
        if (c != '\n') {
            pending_.push_back(c);
            continue;
        }
        std::string line;
        line.swap(pending_);
        received_.push_back(line);
        std::string reply = answer(line);
        if (!reply.empty()) out += faults_.noiseBeforeReply + reply + "\r\n";
    }
    return out;
}

std::string SimLogger::answer(const std::string& line) {
    if (faults_.silent) return {};
    int sending = ++sendings_[line];

    if (line.empty()) return "READY";  // the wake-up
    if (line == faults_.wakeUpOnlyCommand) return {};
    if (line == faults_.answerOnNthCommand && sending != faults_.answerOnNth) return {};
    if (line == faults_.questionCommand) return "?";
    if (line == faults_.longReplyCommand) return std::string(static_cast<std::size_t>(faults_.longReplyLength), 'L');

    if (line == "CONNECT") return faults_.connectReply.value_or("READY");
    unsigned unit = 0;
    char tail = 0;
    if (std::sscanf(line.c_str(), "_COM%u%c", &unit, &tail) == 1) {
        if (static_cast<int>(unit) >= units_) return {};
        selectedUnit_ = static_cast<int>(unit) + 1;
        return "READY";
    }
    if (line == "eerm0") return stationName_;
    if (line == "xerm0") return modelCode_;
    if (line == "comtm=0" || line == "comtm=1") {
        guardOpen_ = line == "comtm=0";
        return "OK";
    }
    if (line == "clear") {
        ++clears_;
        return "OK";
    }
    auto found = replies_.find(line);
    if (found != replies_.end()) return found->second;
    return "?";  // a command this logger does not know
}

void SimLogger::setReply(const std::string& command, const std::string& reply) {
    std::lock_guard lock(mutex_);
    replies_[command] = reply;
}

void SimLogger::setIdentity(const std::string& stationName, const std::string& modelCode) {
    std::lock_guard lock(mutex_);
    stationName_ = stationName;
    modelCode_ = modelCode;
}

void SimLogger::setUnitCount(int units) {
    std::lock_guard lock(mutex_);
    units_ = units < 1 ? 1 : units;
}

void SimLogger::setFaults(const LoggerFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

LoggerFaults SimLogger::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

std::vector<std::string> SimLogger::receivedLines() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int SimLogger::selectedUnit() const {
    std::lock_guard lock(mutex_);
    return selectedUnit_;
}

bool SimLogger::guardOpen() const {
    std::lock_guard lock(mutex_);
    return guardOpen_;
}

int SimLogger::clearCount() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

}  // namespace fenta21::sim
