#include "core/base/Clock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <sstream>
#include <string>
#include <thread>

namespace fenta21 {

SystemClock::SystemClock(double scale, std::optional<CalendarTime> start)
    : scale_(scale), start_(start), startedAt_(std::chrono::steady_clock::now()) {}

std::chrono::nanoseconds SystemClock::scaled(std::chrono::nanoseconds nominal) const {
    return std::chrono::nanoseconds(static_cast<long long>(std::llround(nominal.count() * scale_)));
}

void SystemClock::sleepFor(std::chrono::nanoseconds nominal) const {
    std::this_thread::sleep_for(scaled(nominal));
}

CalendarTime SystemClock::localTime() const {
    if (start_) {
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - startedAt_).count() / scale_;
        return addSeconds(*start_, static_cast<long long>(elapsed));
    }
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return CalendarTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                        parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::optional<double> parseTimeScale(std::string_view text) {
    // The classic locale keeps "0.02" meaning the same whatever LC_ALL says.
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (in.fail() || !in.eof() || !std::isfinite(value) || value <= 0) return std::nullopt;
    return value;
}

std::optional<CalendarTime> parseCalendarTime(std::string_view text) {
    CalendarTime t;
    char separator = 0;
    std::string copy(text);
    int consumed = 0;
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &t.year, &t.month, &t.day, &separator, &t.hour,
                    &t.minute, &t.second, &consumed) != 7 ||
        static_cast<std::size_t>(consumed) != copy.size() || (separator != 'T' && separator != ' '))
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59 ||
        t.hour < 0 || t.minute < 0 || t.second < 0)
        return std::nullopt;
    return t;
}

std::unique_ptr<SystemClock> clockFromEnvironment() {
    const char* scaleText = std::getenv("FENTA21_TIME_SCALE");
    const char* startText = std::getenv("FENTA21_START_TIME");
    std::optional<double> scale = 1.0;
    if (scaleText != nullptr && *scaleText != '\0') scale = parseTimeScale(scaleText);
    std::optional<CalendarTime> start;
    if (startText != nullptr && *startText != '\0') {
        start = parseCalendarTime(startText);
        if (!start) return nullptr;
    }
    if (!scale) return nullptr;
    return std::make_unique<SystemClock>(*scale, start);
}

}  // namespace fenta21
