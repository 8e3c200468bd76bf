#pragma once

#include "core/base/CalendarTime.h"

#include <functional>

namespace fenta21::sim {

// The simulated logger's own clock: it runs with the time source (the PC's local time unless
// a test gives another) from whatever it was last set to, as a battery-backed clock does.
class LoggerClock {
public:
    // Seconds of local time, counted as if the local calendar were UTC (so that calendar
    // arithmetic never meets a daylight-saving change).
    using Source = std::function<long long()>;

    explicit LoggerClock(Source source = localSeconds);

    CalendarTime now() const;
    // Seconds since the epoch of now(), for measurements that vary with time.
    long long seconds() const;
    void set(const CalendarTime& time);
    void setSource(Source source);

    static long long localSeconds();
    static long long secondsOf(const CalendarTime& time);
    static CalendarTime calendarOf(long long seconds);

private:
    Source source_;
    long long offset_ = 0;
};

}  // namespace fenta21::sim
