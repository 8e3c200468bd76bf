#pragma once

#include "core/base/Clock.h"

#include <mutex>

namespace fenta21::test {

// Real waits shortened by a scale, and a calendar that says what the test sets: frozen at a
// time (setLocalTime), or running from a time at the scaled pace (runFrom), as the
// scheduler needs to see the seconds pass.
class TestClock : public SystemClock {
public:
    explicit TestClock(double scale = 0.02) : SystemClock(scale) {}

    // Every wait is added up as the program asked for it, so that a test can check the waits
    // themselves rather than the real time that passed on a loaded machine.
    void sleepFor(std::chrono::nanoseconds nominal) const override {
        {
            std::lock_guard lock(mutex_);
            slept_ += nominal;
        }
        SystemClock::sleepFor(nominal);
    }
    std::chrono::nanoseconds slept() const {
        std::lock_guard lock(mutex_);
        return slept_;
    }

    CalendarTime localTime() const override {
        std::lock_guard lock(mutex_);
        if (!running_) return now_;
        auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - setAt_).count() / scale();
        return addSeconds(now_, static_cast<long long>(elapsed));
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
    mutable std::mutex mutex_;
    CalendarTime now_{2026, 12, 8, 9, 30, 15};
    bool running_ = false;
    mutable std::chrono::nanoseconds slept_{0};
    std::chrono::steady_clock::time_point setAt_ = std::chrono::steady_clock::now();
};

}  // namespace fenta21::test
