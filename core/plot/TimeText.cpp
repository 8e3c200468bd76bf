#include "core/plot/TimeText.h"

#include "core/base/CalendarTime.h"
#include "core/plot/LoggerSeconds.h"

#include <cstdio>

namespace fenta21::plot {

std::string timeText(std::int64_t seconds) {
    CalendarTime t = calendarFromSeconds(seconds);
    char text[40];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

std::optional<std::int64_t> parseTimeText(std::string_view text) {
    std::string copy(text);
    for (char& c : copy)
        if (c == '/' || c == 'T') c = c == '/' ? '-' : ' ';
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int used = -1;
    // A date alone, with hours and minutes, or with seconds; nothing may follow.
    bool whole = (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second,
                              &used) == 6 && used == static_cast<int>(copy.size()));
    if (!whole) {
        second = 0, used = -1;
        whole = std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d%n", &year, &month, &day, &hour, &minute, &used) == 5 &&
                used == static_cast<int>(copy.size());
    }
    if (!whole) {
        hour = minute = 0, used = -1;
        whole = std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used) == 3 &&
                used == static_cast<int>(copy.size());
    }
    if (!whole) return std::nullopt;
    std::int64_t seconds = civilSeconds(year, month, day, hour, minute, second);
    // A date the calendar does not have (02-30) comes back as another day.
    CalendarTime back = calendarFromSeconds(seconds);
    if (year < 1970 || back.year != year || back.month != month || back.day != day || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    return seconds;
}

}  // namespace fenta21::plot
