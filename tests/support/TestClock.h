#pragma once

#include "core/base/Clock.h"

#include <mutex>

namespace fenta21::test {

// Real waits shortened by a scale, and a calendar that says what the test sets.
class TestClock : public SystemClock {
public:
    explicit TestClock(double scale = 0.02) : SystemClock(scale) {}

    CalendarTime localTime() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void setLocalTime(const CalendarTime& time) {
        std::lock_guard lock(mutex_);
        now_ = time;
    }

private:
    mutable std::mutex mutex_;
    CalendarTime now_{2026, 12, 8, 9, 30, 15};
};

}  // namespace fenta21::test
