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

long long LoggerClock::secondsOf(const CalendarTime& t) { return calendarSeconds(t); }

CalendarTime LoggerClock::calendarOf(long long seconds) { return calendarFromSeconds(seconds); }

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
