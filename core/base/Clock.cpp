#include "core/base/Clock.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <sstream>
#include <string>
#include <thread>

namespace fenta21 {

SystemClock::SystemClock(double scale) : scale_(scale) {}

std::chrono::nanoseconds SystemClock::scaled(std::chrono::nanoseconds nominal) const {
    return std::chrono::nanoseconds(static_cast<long long>(std::llround(nominal.count() * scale_)));
}

void SystemClock::sleepFor(std::chrono::nanoseconds nominal) const {
    std::this_thread::sleep_for(scaled(nominal));
}

CalendarTime SystemClock::localTime() const {
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

std::unique_ptr<SystemClock> clockFromEnvironment() {
    const char* text = std::getenv("FENTA21_TIME_SCALE");
    if (text == nullptr || *text == '\0') return std::make_unique<SystemClock>(1.0);
    auto scale = parseTimeScale(text);
    if (!scale) return nullptr;
    return std::make_unique<SystemClock>(*scale);
}

}  // namespace fenta21
