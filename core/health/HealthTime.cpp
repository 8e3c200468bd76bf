#include "core/health/HealthTime.h"

#include "core/base/LocalTime.h"

#include <ctime>
#include <string_view>
#include <unistd.h>

namespace fenta21 {

EpochSeconds epochOfLocalTime(const CalendarTime& local) { return static_cast<EpochSeconds>(localTimeToEpoch(local)); }

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
