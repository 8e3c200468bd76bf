#pragma once

#include "core/datafile/CsvConversion.h"
#include "core/plot/PlotSeries.h"

#include <string>
#include <string_view>

namespace fenta21::plot {

// The series of a data file held in memory: one per channel and CSV column kind, in the order
// their first records come. Records the CSV converter would leave out (not valid, a kind the
// kind table does not define, "-------") are left out here too, so the samples are exactly the
// CSV's cells. `identify` looks the model up as the converter does; `source` names the series.
SourceSeries readDataFileSeries(std::string_view image, const std::string& source,
                                const std::function<std::optional<CurrentModel>(const std::string&)>& identify);

// The same for a file on disk; `source` is its file name.
SourceSeries readDataFileSeriesAt(const std::string& path,
                                  const std::function<std::optional<CurrentModel>(const std::string&)>& identify);

}  // namespace fenta21::plot
