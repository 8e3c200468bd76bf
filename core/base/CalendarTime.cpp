#include "core/base/CalendarTime.h"

#include <ctime>

namespace fenta21 {

long long calendarSeconds(const CalendarTime& t) {
    std::tm parts{};
    parts.tm_year = t.year - 1900;
    parts.tm_mon = t.month - 1;
    parts.tm_mday = t.day;
    parts.tm_hour = t.hour;
    parts.tm_min = t.minute;
    parts.tm_sec = t.second;
    return static_cast<long long>(timegm(&parts));
}

CalendarTime calendarFromSeconds(long long seconds) {
    std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&moment, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace fenta21
