#include "core/base/LocalTime.h"

#include <ctime>

namespace fenta21 {

long long localTimeToEpoch(const CalendarTime& local) {
    std::tm parts{};
    parts.tm_year = local.year - 1900;
    parts.tm_mon = local.month - 1;
    parts.tm_mday = local.day;
    parts.tm_hour = local.hour;
    parts.tm_min = local.minute;
    parts.tm_sec = local.second;
    parts.tm_isdst = -1;  // the zone's own rule for that day
    return static_cast<long long>(std::mktime(&parts));
}

}  // namespace fenta21
