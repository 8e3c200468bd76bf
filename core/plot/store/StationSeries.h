#pragma once

#include "core/plot/PlotSeries.h"
#include "core/store/RecordStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::plot {

// What to plot of a record store: a station, which of its series (none named: all of them),
// and the stretch of time, in the station's own clock (logger seconds, as a data file's times
// are), from the first record and to the last where not given.
struct StationChoice {
    std::string station;
    std::vector<std::int64_t> seriesIds;
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
};

// The station's series as a plot shows a data file's: times in its fixed offset from UTC, so
// that the same records plot the same from the store as from their file; numbers as their
// CSV text reads, directions by bearing (calm and error left out), times of day in seconds.
// A store that fails, or a station it does not know, gives the problem instead.
SourceSeries readStationSeries(store::RecordStore& store, const StationChoice& choice);

// The station of that name, or nothing.
std::optional<store::StationRow> findStation(store::RecordStore& store, const std::string& name);

}  // namespace fenta21::plot
