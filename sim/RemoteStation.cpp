#include "sim/RemoteStation.h"

namespace fenta21::sim {

RemoteStation::RemoteStation(std::string number, int units) : number_(std::move(number)), switch_(units) {}

void RemoteStation::setFaults(const StationFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

StationFaults RemoteStation::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

int RemoteStation::dialCount() const {
    std::lock_guard lock(mutex_);
    return dials_;
}

int RemoteStation::answerCount() const {
    std::lock_guard lock(mutex_);
    return answers_;
}

int RemoteStation::selectedUnit() const {
    std::lock_guard lock(mutex_);
    return switch_.selectedUnit();
}

std::optional<std::string> RemoteStation::ring() {
    std::lock_guard lock(mutex_);
    ++dials_;
    if (faults_.neverAnswers || dials_ <= faults_.unansweredDials) return std::nullopt;
    ++answers_;
    switch_.reset();
    return greeting();
}

std::string RemoteStation::greeting() {
    std::string bytes;
    for (int i = 0; i < faults_.canLines; ++i) bytes += "CAN\r\n";
    if (answers_ <= faults_.plusLineAnswers) return bytes + "+++\r\n";
    if (!faults_.silentAnswer) bytes += switch_.carry("CONNECT\r\n");
    return bytes;
}

std::string RemoteStation::carry(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    return switch_.carry(bytes);
}

void RemoteStation::hangUp() {
    std::lock_guard lock(mutex_);
    switch_.reset();
}

}  // namespace fenta21::sim
