#include "core/stations/AddressBook.h"

#include "core/base/ThreeWayMerge.h"

namespace fenta21 {

Station AddressBook::station(int index) const {
    if (!isStationIndex(index)) return {};
    std::lock_guard lock(mutex_);
    return stations_[index];
}

bool AddressBook::isDirect(int index) const { return station(index).isDirect(); }

bool AddressBook::hasName(int index) const { return station(index).hasName(); }

bool AddressBook::store(int index, const Station& station) {
    if (!isStationIndex(index)) return false;
    Station fitted = fitStation(station);
    std::lock_guard lock(mutex_);
    stations_[index] = std::move(fitted);
    return true;
}

bool AddressBook::erase(int index) { return store(index, Station{}); }

std::vector<Station> AddressBook::stations() const {
    std::lock_guard lock(mutex_);
    return stations_;
}

namespace {

std::vector<Station> fittedTable(const std::vector<Station>& stations) {
    std::vector<Station> table(kStationCount);
    for (std::size_t i = 0; i < table.size() && i < stations.size(); ++i) table[i] = fitStation(stations[i]);
    return table;
}

}  // namespace

void AddressBook::replaceAll(const std::vector<Station>& stations) {
    std::vector<Station> fresh = fittedTable(stations);
    std::lock_guard lock(mutex_);
    stations_ = fresh;
    stored_ = std::move(fresh);
}

std::vector<Station> AddressBook::storedStations() const {
    std::lock_guard lock(mutex_);
    return stored_;
}

void AddressBook::takeFromFile(const std::vector<Station>& onDisk) {
    std::vector<Station> fresh = fittedTable(onDisk);
    std::lock_guard lock(mutex_);
    stations_ = mergeByPlace(stored_, stations_, fresh);
    stored_ = std::move(fresh);
}

}  // namespace fenta21
