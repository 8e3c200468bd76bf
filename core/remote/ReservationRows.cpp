#include "core/remote/ReservationRows.h"

#include <cstdio>

namespace fenta21 {
namespace {

// Wide enough for any value a damaged rsv.dat holds, shown as it is.
std::string formatted(const char* pattern, long long value) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::vector<std::string> choices(const char* every, const char* pattern, int first, int last) {
    std::vector<std::string> entries;
    if (every) entries.emplace_back(every);
    for (int value = first; value <= last; ++value) entries.push_back(formatted(pattern, value));
    return entries;
}

}  // namespace

const std::array<ListColumn, kReservationColumnCount>& reservationColumns() {
    static const std::array<ListColumn, kReservationColumnCount> columns = [] {
        std::array<ListColumn, kReservationColumnCount> all{{{" 日 ", 42}, {" 時 ", 42}, {" 分 ", 42}}};
        const auto& station = stationColumns();
        for (std::size_t i = 0; i < station.size(); ++i) all[kTimeColumnCount + i] = station[i];
        return all;
    }();
    return columns;
}

std::array<std::string, kReservationColumnCount> reservationRow(const Reservation& reservation,
                                                                const AddressBook& book) {
    const ReservationTime& time = reservation.time;
    std::array<std::string, kReservationColumnCount> row;
    row[0] = time.day == 0 ? "毎日" : formatted("  %2lld", time.day);
    row[1] = time.hourCode == 0 ? "毎時" : formatted("  %02lld", time.hourCode - 1LL);
    row[2] = formatted("  %02lld", time.minute);
    auto station = stationRow(book, reservation.station);
    for (std::size_t i = 0; i < station.size(); ++i) row[kTimeColumnCount + i] = station[i];
    return row;
}

const std::vector<std::string>& dayChoices() {
    static const std::vector<std::string> entries = choices(" 毎日", " %lld", 1, kLastReservationDay);
    return entries;
}

const std::vector<std::string>& hourChoices() {
    static const std::vector<std::string> entries = choices(" 毎時", " %02lld", 0, kLastHourCode - 1);
    return entries;
}

const std::vector<std::string>& minuteChoices() {
    static const std::vector<std::string> entries = choices(nullptr, " %02lld", 0, kLastMinute);
    return entries;
}

}  // namespace fenta21
