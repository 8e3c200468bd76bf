#pragma once

#include "core/remote/StationList.h"

#include <string>
#include <vector>

namespace fenta21 {

class AddressBook;

// The most rows the list takes; any.dat is read up to that many and the list refuses more.
inline constexpr std::size_t kMostArbitraryRows = 10000;

// The stations of an arbitrary collection ("任意回収リスト"), in the order they are collected.
// A station may be listed more than once. Rows are counted from 0, top to bottom.
//
// The list also keeps its rows as any.dat held them when it was read or last stored, so that
// the rows added and removed since are told from another program's changes of the file.
class ArbitraryList {
public:
    ArbitraryList() = default;
    // The list as read: places outside 0-99 are left out.
    explicit ArbitraryList(const std::vector<int>& stations);

    const std::vector<int>& stations() const { return stations_; }
    std::size_t size() const { return stations_.size(); }
    bool full() const { return stations_.size() >= kMostArbitraryRows; }
    const std::vector<int>& storedStations() const { return stored_; }
    // After a store: the rows as any.dat now holds them become the list and its stored rows.
    void takeStored(const std::vector<int>& stations);

    // "追加 ->": appends the station if it has a name and the list is not full. False when
    // nothing was added.
    bool add(const AddressBook& book, int station);
    // "挿入 ->": puts the station before `row`; needs a listed row, a named station and room.
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
    std::vector<int> stored_;
};

}  // namespace fenta21
