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

// The reading `seconds` later (or earlier), counted on the calendar alone: no daylight-saving
// change moves it, so a clock that starts at a set time runs through its minutes evenly.
CalendarTime addSeconds(const CalendarTime& time, long long seconds);

}  // namespace fenta21
