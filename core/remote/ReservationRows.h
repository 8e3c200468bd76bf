#pragma once

#include "core/stations/Reservation.h"
#include "core/remote/StationList.h"

#include <array>
#include <string>
#include <vector>

namespace fenta21 {

class AddressBook;

// The reservation list ("予約回収リスト"): three time columns, then the station list's seven.
inline constexpr std::size_t kTimeColumnCount = 3;
inline constexpr std::size_t kReservationColumnCount = kTimeColumnCount + kStationColumnCount;

const std::array<ListColumn, kReservationColumnCount>& reservationColumns();

// Day "毎日" or "  %2d"; hour "毎時" or "  %02d" of code - 1; minute "  %02d"; then the
// station's row as the book holds it now.
std::array<std::string, kReservationColumnCount> reservationRow(const Reservation& reservation,
                                                                const AddressBook& book);

// The time dialog ("予約回収時間の設定"): the entries of its three lists. An entry's position is
// the stored value itself, so a reservation presets the lists directly and a new one starts
// at positions 0, 0, 0 (every day, every hour, minute 00).
const std::vector<std::string>& dayChoices();     // " 毎日", " 1" ... " 31"
const std::vector<std::string>& hourChoices();    // " 毎時", " 00" ... " 23"
const std::vector<std::string>& minuteChoices();  // " 00" ... " 59"

}  // namespace fenta21
