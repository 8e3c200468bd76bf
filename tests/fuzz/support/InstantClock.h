#pragma once

#include "core/base/Clock.h"

namespace fenta21::fuzz {

// A clock on which no wait takes any time, so that an input costs microseconds however many
// seconds of pauses and retries it leads the program through. Read time-outs keep their
// nominal length: the scripted line never blocks (an empty line fails the read at once), so
// a read never waits them out and every run of an input goes the same way.
class InstantClock : public Clock {
public:
    std::chrono::nanoseconds scaled(std::chrono::nanoseconds nominal) const override { return nominal; }
    void sleepFor(std::chrono::nanoseconds) const override {}
    CalendarTime localTime() const override { return {2026, 12, 8, 9, 30, 15}; }
};

}  // namespace fenta21::fuzz
