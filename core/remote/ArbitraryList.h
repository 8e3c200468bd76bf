#pragma once

#include "core/remote/StationList.h"

#include <string>
#include <vector>

namespace fenta21 {

class AddressBook;

// The stations of an arbitrary collection ("任意回収リスト"), in the order they are collected.
// A station may be listed more than once. Rows are counted from 0, top to bottom.
class ArbitraryList {
public:
    ArbitraryList() = default;
    // Places outside 0-99 are left out.
    explicit ArbitraryList(const std::vector<int>& stations);

    const std::vector<int>& stations() const { return stations_; }
    std::size_t size() const { return stations_.size(); }

    // "追加 ->": appends the station if it has a name. False when nothing was added.
    bool add(const AddressBook& book, int station);
    // "挿入 ->": puts the station before `row`; needs a listed row and a named station.
    bool insertBefore(const AddressBook& book, int row, int station);
    // "削除 <-": removes the row; false without such a row.
    bool remove(int row);
    // "全て削除".
    void clear() { stations_.clear(); }

    // The row texts: the station's seven columns as they stand in the book now, so a station
    // emptied after it was listed keeps its row with empty fields.
    std::array<std::string, kStationColumnCount> row(const AddressBook& book, int row) const;

private:
    std::vector<int> stations_;
};

}  // namespace fenta21
