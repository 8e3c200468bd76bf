#pragma once

#include "core/stations/Station.h"

#include <mutex>
#include <vector>

namespace fenta21 {

// The fixed table of remote stations, places 0-99. The scheduler worker reads it while the
// window edits it, so every access copies under a lock. Places outside 0-99 read as empty
// entries and refuse changes.
//
// The direct-link flag is not stored beside the entry: it is 1 exactly when the method text is
// "com", both when adr.csv is read and when the editor stores its choice, so it is derived from
// the text and the two can never disagree.
class AddressBook {
public:
    Station station(int index) const;
    bool isDirect(int index) const;
    bool hasName(int index) const;

    // Stores an entry, fitted so that adr.csv gives it back unchanged (see fitStation).
    bool store(int index, const Station& station);
    // "削除": all six fields emptied, which also clears the direct-link flag.
    bool erase(int index);

    std::vector<Station> stations() const;
    // Replaces the whole table, as adr.csv was read; missing places become empty, places
    // beyond 100 are dropped. It is also the table as the file holds it (storedStations).
    void replaceAll(const std::vector<Station>& stations);

    // The table as adr.csv held it when this program last read or wrote it: the places that
    // differ from it are this program's own changes, which another program's cannot undo.
    std::vector<Station> storedStations() const;
    // Takes in what adr.csv holds now (after another program's change, or this program's own
    // write): every place this program has not changed becomes the file's, a changed place
    // stays as it is, and the file's table is the new stored one.
    void takeFromFile(const std::vector<Station>& onDisk);

private:
    mutable std::mutex mutex_;
    std::vector<Station> stations_ = std::vector<Station>(kStationCount);  // always kStationCount places
    std::vector<Station> stored_ = std::vector<Station>(kStationCount);
};

}  // namespace fenta21
