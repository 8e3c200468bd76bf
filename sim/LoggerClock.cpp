#include "sim/LoggerClock.h"

#include <ctime>

namespace fenta21::sim {

LoggerClock::LoggerClock(Source source) : source_(std::move(source)) {}

long long LoggerClock::localSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return static_cast<long long>(timegm(&parts));
}

long long LoggerClock::secondsOf(const CalendarTime& t) {
    std::tm parts{};
    parts.tm_year = t.year - 1900;
    parts.tm_mon = t.month - 1;
    parts.tm_mday = t.day;
    parts.tm_hour = t.hour;
    parts.tm_min = t.minute;
    parts.tm_sec = t.second;
    return static_cast<long long>(timegm(&parts));
}

CalendarTime LoggerClock::calendarOf(long long seconds) {
    std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&moment, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

long long LoggerClock::seconds() const { return source_() + offset_; }

CalendarTime LoggerClock::now() const { return calendarOf(seconds()); }

void LoggerClock::set(const CalendarTime& time) { offset_ = secondsOf(time) - source_(); }

void LoggerClock::setSource(Source source) {
    // The logger's time of day carries over to the new source.
    long long current = seconds();
    source_ = std::move(source);
    offset_ = current - source_();
}

}  // namespace fenta21::sim
