#pragma once

#include "core/datafile/DataRecord.h"

#include <cstdint>

namespace fenta21::plot {

// Seconds on the logger's calendar, counted as the calendar of core/base counts them (days
// since 1970-01-01 without time zones), but computed without the C library: a file of two
// million records asks it two million times.
inline std::int64_t civilSeconds(int year, int month, int day, int hour, int minute, int second) {
    // Days from the civil date, counting years from March so that February's length does not
    // matter; a day beyond the month's end runs on into the next month as it does there.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

inline std::int64_t recordSeconds(const DataRecord& r) {
    return civilSeconds(2000 + r.year, r.month, r.day, r.hour, r.minute, r.second);
}

}  // namespace fenta21::plot
