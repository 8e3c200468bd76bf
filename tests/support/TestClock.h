#pragma once

#include "core/base/Clock.h"

#include <ctime>
#include <mutex>

namespace fenta21::test {

// Real waits shortened by a scale, and a calendar that says what the test sets: frozen at a
// time (setLocalTime), or running from a time at the scaled pace (runFrom), as the
// scheduler needs to see the seconds pass.
class TestClock : public SystemClock {
public:
    explicit TestClock(double scale = 0.02) : SystemClock(scale) {}

    CalendarTime localTime() const override {
        std::lock_guard lock(mutex_);
        if (!running_) return now_;
        auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - setAt_).count() / scale();
        return plusSeconds(now_, static_cast<long long>(elapsed));
    }
    void setLocalTime(const CalendarTime& time) { set(time, false); }
    void runFrom(const CalendarTime& time) { set(time, true); }

private:
    void set(const CalendarTime& time, bool running) {
        std::lock_guard lock(mutex_);
        now_ = time;
        running_ = running;
        setAt_ = std::chrono::steady_clock::now();
    }
    // Calendar arithmetic in UTC, so no daylight-saving change can shift a test's minute.
    static CalendarTime plusSeconds(const CalendarTime& t, long long seconds) {
        std::tm parts{};
        parts.tm_year = t.year - 1900;
        parts.tm_mon = t.month - 1;
        parts.tm_mday = t.day;
        parts.tm_hour = t.hour;
        parts.tm_min = t.minute;
        parts.tm_sec = t.second;
        std::time_t moved = timegm(&parts) + seconds;
        gmtime_r(&moved, &parts);
        return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
    }

    mutable std::mutex mutex_;
    CalendarTime now_{2026, 12, 8, 9, 30, 15};
    bool running_ = false;
    std::chrono::steady_clock::time_point setAt_ = std::chrono::steady_clock::now();
};

}  // namespace fenta21::test
