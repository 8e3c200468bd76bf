#pragma once

#include "core/datafile/RecordValue.h"

#include <string>
#include <vector>

namespace fenta21::plot {

struct Tick {
    double at = 0;
    std::string label;
    // Time ticks: the date (or the year) under the label where it changes, and on the first.
    std::string date;
};

// A value axis: the range shown and its labelled ticks.
struct ValueAxis {
    double low = 0;
    double high = 1;
    std::vector<Tick> ticks;
};

// The axis of a pane over the values [min, max] of what it shows: numbers get a little room
// above and below and ticks 1, 2 or 5 times a power of ten apart, at most `maxTicks` of them;
// directions the compass from 0 to 360 degrees; times of day the day from 00:00 to 24:00.
ValueAxis valueAxis(ValueType type, double min, double max, int maxTicks);

// Ticks of the time axis over [from, to] (logger seconds), at most about `maxTicks`, on whole
// seconds, minutes, hours, days, months or years, labelled with what the step needs.
std::vector<Tick> timeTicks(double from, double to, int maxTicks);

}  // namespace fenta21::plot
