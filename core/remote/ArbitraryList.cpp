#include "core/remote/ArbitraryList.h"

#include "core/stations/AddressBook.h"

namespace fenta21 {

ArbitraryList::ArbitraryList(const std::vector<int>& stations) {
    for (int station : stations)
        if (isStationIndex(station)) stations_.push_back(station);
    stored_ = stations_;
}

void ArbitraryList::takeStored(const std::vector<int>& stations) {
    *this = ArbitraryList(stations);
}

bool ArbitraryList::add(const AddressBook& book, int station) {
    if (!book.hasName(station) || full()) return false;
    stations_.push_back(station);
    return true;
}

bool ArbitraryList::insertBefore(const AddressBook& book, int row, int station) {
    if (row < 0 || row >= static_cast<int>(stations_.size()) || !book.hasName(station) || full()) return false;
    stations_.insert(stations_.begin() + row, station);
    return true;
}

bool ArbitraryList::remove(int row) {
    if (row < 0 || row >= static_cast<int>(stations_.size())) return false;
    stations_.erase(stations_.begin() + row);
    return true;
}

std::array<std::string, kStationColumnCount> ArbitraryList::row(const AddressBook& book, int row) const {
    if (row < 0 || row >= static_cast<int>(stations_.size())) return {};
    return stationRow(book, stations_[row]);
}

}  // namespace fenta21
