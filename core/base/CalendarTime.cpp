#include "core/base/CalendarTime.h"

#include <ctime>

namespace fenta21 {

CalendarTime addSeconds(const CalendarTime& t, long long seconds) {
    std::tm parts{};
    parts.tm_year = t.year - 1900;
    parts.tm_mon = t.month - 1;
    parts.tm_mday = t.day;
    parts.tm_hour = t.hour;
    parts.tm_min = t.minute;
    parts.tm_sec = t.second;
    std::time_t moved = timegm(&parts) + static_cast<std::time_t>(seconds);
    gmtime_r(&moved, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace fenta21
