#pragma once

#include "core/base/CalendarTime.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string_view>

namespace fenta21 {

// Every sleep, wait and read time-out goes through a Clock, and so does the calendar time
// used for file names, logs and the scheduler. Durations are given as the program counts them
// (2 s per byte, 100 ms steps); a scaled clock shortens them all alike, which keeps the tests
// fast without changing a single count in the logic.
class Clock {
public:
    virtual ~Clock() = default;

    // The real duration that a nominal one lasts on this clock.
    virtual std::chrono::nanoseconds scaled(std::chrono::nanoseconds nominal) const = 0;
    virtual void sleepFor(std::chrono::nanoseconds nominal) const = 0;
    virtual CalendarTime localTime() const = 0;
};

// The real clock, with an optional time scale (1 = real time). Given a start, its calendar
// begins there and runs at the scaled pace, so a black-box test can watch a program reach a
// reserved minute without waiting for it in real time.
class SystemClock : public Clock {
public:
    explicit SystemClock(double scale = 1.0, std::optional<CalendarTime> start = std::nullopt);

    std::chrono::nanoseconds scaled(std::chrono::nanoseconds nominal) const override;
    void sleepFor(std::chrono::nanoseconds nominal) const override;
    CalendarTime localTime() const override;

    double scale() const { return scale_; }

private:
    double scale_;
    std::optional<CalendarTime> start_;
    std::chrono::steady_clock::time_point startedAt_;
};

// Reads a time scale as given in FENTA21_TIME_SCALE: a positive finite number.
std::optional<double> parseTimeScale(std::string_view text);
// Reads a calendar time written "YYYY-MM-DDTHH:MM:SS" (or with a blank for the T).
std::optional<CalendarTime> parseCalendarTime(std::string_view text);

// The clock the programs run on: the real one, scaled by FENTA21_TIME_SCALE when set, its
// calendar starting at FENTA21_START_TIME when set. A value that cannot be read is refused
// (nullptr) so that a typo in a test script cannot silently run at full speed.
std::unique_ptr<SystemClock> clockFromEnvironment();

}  // namespace fenta21
