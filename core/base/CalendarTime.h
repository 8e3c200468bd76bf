#pragma once

#include <compare>

namespace fenta21 {

// A local wall-clock reading, as used in file names, log lines and the scheduler.
struct CalendarTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const CalendarTime&) const = default;
};

// Readings as a count of seconds and back, on the calendar alone (no time zone and no
// daylight-saving change), so that arithmetic on them runs through the minutes evenly.
long long calendarSeconds(const CalendarTime& time);
CalendarTime calendarFromSeconds(long long seconds);

// The reading `seconds` later (or earlier).
inline CalendarTime addSeconds(const CalendarTime& time, long long seconds) {
    return calendarFromSeconds(calendarSeconds(time) + seconds);
}

}  // namespace fenta21
