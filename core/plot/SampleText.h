#pragma once

#include "core/plot/PlotSeries.h"

#include <string>

namespace fenta21::plot {

// A sample's value as the cursor readout, the side table and the visible range's CSV show it,
// the same whatever the locale: a number with its series' decimals ("-12.35"), a direction by
// name ("NNE"), a time of day "06:30:00".
std::string sampleText(const SeriesInfo& info, double value);

// The side table's row of a series over a range. A mean of directions means nothing (north
// lies on both sides of the scale), so a direction's mean stays empty; a number's mean has one
// decimal more than its samples.
struct StatsText {
    std::string min;
    std::string max;
    std::string mean;
    std::string count;
};
StatsText statsText(const SeriesInfo& info, const RangeStats& stats);

// A number with `decimals` decimals, never "-0.0".
std::string fixedText(double value, int decimals);

}  // namespace fenta21::plot
