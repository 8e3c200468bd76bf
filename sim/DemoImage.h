#pragma once

#include <string>

namespace fenta21::sim {

// The memory image fenta21-sim serves when it is given none: one day of ten-minute wind
// records (speed, direction, gust) under the logger's own model code and station name, so
// that the demo collects something the converter can read.
std::string demoImage(const std::string& stationName, const std::string& modelCode);

}  // namespace fenta21::sim
