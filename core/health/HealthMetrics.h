#pragma once

#include "core/health/StationHealth.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The stations' health in the text format that node exporters collect (the textfile
// collector): a "# HELP" and a "# TYPE" line for each metric, then one sample a station,
// labelled with its name and unit; the state is one sample per state, 1 for the station's.
std::string formatHealthMetrics(const std::vector<StationHealth>& stations);

// A label value as the format quotes it: backslash, double quote and line feed escaped.
std::string metricLabelValue(std::string_view text);

}  // namespace fenta21
