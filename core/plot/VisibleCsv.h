#pragma once

#include "core/plot/PlotDocument.h"

#include <string>

namespace fenta21::plot {

// The records of the visible traces in [from, to] as CSV text (UTF-8, lines ending in CR LF):
// "date,time" and a column per trace, the units under them, then a line per time that any
// trace has a record at, its cells empty where a trace has none.
std::string visibleRecordsCsv(const PlotDocument& document, double from, double to);

}  // namespace fenta21::plot
