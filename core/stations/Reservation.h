#pragma once

namespace fenta21 {

// When a reservation runs: the positions of the time dialog's three lists, which are also
// the stored values.
struct ReservationTime {
    int day = 0;       // 0 every day, 1-31 that day of the month
    int hourCode = 0;  // 0 every hour, 1-24 the hour 0-23 plus 1
    int minute = 0;    // 0-59

    bool operator==(const ReservationTime&) const = default;
};

// One reserved collection: a time and the address-book place (0-99) to collect.
struct Reservation {
    ReservationTime time;
    int station = 0;

    bool operator==(const Reservation&) const = default;
};

inline constexpr int kLastReservationDay = 31;
inline constexpr int kLastHourCode = 24;
inline constexpr int kLastMinute = 59;

// A time the dialog can set and the scheduler can match; rsv.dat may hold others.
inline bool isValidReservationTime(const ReservationTime& time) {
    return time.day >= 0 && time.day <= kLastReservationDay && time.hourCode >= 0 &&
           time.hourCode <= kLastHourCode && time.minute >= 0 && time.minute <= kLastMinute;
}

}  // namespace fenta21
