#include "core/health/ReservedIntervals.h"

#include "core/base/CalendarTime.h"
#include "core/stations/ReservationTable.h"

#include <algorithm>
#include <array>

namespace fenta21 {
namespace {

constexpr EpochSeconds kMinute = 60;
constexpr EpochSeconds kDay = 24 * 60 * kMinute;
// A year without 29 February: its short February gives the longest monthly gaps.
constexpr int kCommonYear = 2027;

// The minutes at which a station was last and first seen, and its longest gap so far.
struct Occurrences {
    EpochSeconds first = -1;
    EpochSeconds last = -1;
    EpochSeconds longest = 0;
};

}  // namespace

std::map<int, EpochSeconds> longestReservedGaps(const std::vector<Reservation>& reservations) {
    // Only rows of a minute can be due in it: scanning each minute's rows, in table order,
    // keeps the first-row rule and a year's minutes cheap.
    std::array<std::vector<Reservation>, 60> byMinute;
    bool monthly = false;
    for (const Reservation& row : reservations) {
        if (!isValidReservationTime(row.time)) continue;
        byMinute[static_cast<std::size_t>(row.time.minute)].push_back(row);
        if (row.time.day != 0) monthly = true;
    }
    const CalendarTime start{kCommonYear, 1, 1, 0, 0, 0};
    const EpochSeconds origin = calendarSeconds(start);
    const EpochSeconds period = monthly ? calendarSeconds({kCommonYear + 1, 1, 1, 0, 0, 0}) - origin : kDay;

    std::map<int, Occurrences> seen;
    for (EpochSeconds hour = 0; hour < period; hour += 60 * kMinute) {
        const CalendarTime at = calendarFromSeconds(origin + hour);
        for (int minute = 0; minute < 60; ++minute) {
            const auto& rows = byMinute[static_cast<std::size_t>(minute)];
            if (rows.empty()) continue;
            auto due = findDueReservation(rows, at.day, at.hour, minute);
            if (!due) continue;
            const EpochSeconds offset = hour + minute * kMinute;
            Occurrences& station = seen[due->reservation.station];
            if (station.first < 0) station.first = offset;
            else station.longest = std::max(station.longest, offset - station.last);
            station.last = offset;
        }
    }
    std::map<int, EpochSeconds> gaps;
    for (const auto& [station, occurrences] : seen)
        gaps[station] = std::max(occurrences.longest, period - occurrences.last + occurrences.first);
    return gaps;
}

}  // namespace fenta21
