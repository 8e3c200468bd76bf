#include "core/health/HealthTime.h"

#include <ctime>
#include <string_view>
#include <unistd.h>

namespace fenta21 {

EpochSeconds epochOfLocalTime(const CalendarTime& local) {
    std::tm parts{};
    parts.tm_year = local.year - 1900;
    parts.tm_mon = local.month - 1;
    parts.tm_mday = local.day;
    parts.tm_hour = local.hour;
    parts.tm_min = local.minute;
    parts.tm_sec = local.second;
    parts.tm_isdst = -1;  // the zone's own rule for that day
    return static_cast<EpochSeconds>(std::mktime(&parts));
}

std::string isoLocalTime(EpochSeconds time) {
    std::time_t moment = static_cast<std::time_t>(time);
    std::tm parts{};
    localtime_r(&moment, &parts);
    char text[40];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &parts);
    // strftime writes the offset as +0900; ISO 8601's extended form wants +09:00.
    std::string_view written(text, length);
    if (written.size() < 5) return std::string(written);
    return std::string(written.substr(0, written.size() - 2)) + ":" + std::string(written.substr(written.size() - 2));
}

std::string thisMachineName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

}  // namespace fenta21
