#pragma once

#include "core/plot/PlotDocument.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::plot {

struct ReadoutRow {
    std::size_t series = 0;
    std::optional<std::size_t> sample;  // nothing where the trace has no record near the time
    std::string text;                   // the value, or "-"
};

// What the crosshair reads: it snaps to the record nearest the cursor among the visible
// traces, and each visible trace gives its record at that time.
struct Readout {
    std::optional<std::int64_t> at;  // nothing when no trace is visible or has samples
    std::string timeText;
    std::vector<ReadoutRow> rows;
};

// `cursor` in logger seconds; a trace's record counts as at the snapped time when it lies
// within `tolerance` seconds of it (about a few pixels' worth) or within half its interval.
Readout readoutAt(const PlotDocument& document, double cursor, double tolerance);

}  // namespace fenta21::plot
