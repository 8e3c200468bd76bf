#include "core/remote/AddressBook.h"

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
    return {stations_.begin(), stations_.end()};
}

void AddressBook::replaceAll(const std::vector<Station>& stations) {
    std::array<Station, kStationCount> fresh;
    for (std::size_t i = 0; i < fresh.size() && i < stations.size(); ++i) fresh[i] = fitStation(stations[i]);
    std::lock_guard lock(mutex_);
    stations_ = std::move(fresh);
}

}  // namespace fenta21
