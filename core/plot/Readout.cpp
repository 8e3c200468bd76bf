#include "core/plot/Readout.h"

#include "core/plot/SampleText.h"
#include "core/plot/TimeText.h"

#include <cmath>

namespace fenta21::plot {

Readout readoutAt(const PlotDocument& document, double cursor, double tolerance) {
    Readout readout;
    const std::vector<std::size_t> shown = document.visibleSeries();
    for (std::size_t i : shown) {
        const SeriesSummary& summary = document.series()[i].summary;
        if (summary.size() == 0) continue;
        std::int64_t t = summary.samples().times[summary.nearest(cursor)];
        if (!readout.at || std::abs(static_cast<double>(t) - cursor) < std::abs(static_cast<double>(*readout.at) - cursor))
            readout.at = t;
    }
    if (!readout.at) return readout;
    readout.timeText = timeText(*readout.at);
    const double at = static_cast<double>(*readout.at);
    for (std::size_t i : shown) {
        const PlotSeries& series = document.series()[i];
        ReadoutRow row{i, std::nullopt, "-"};
        if (series.summary.size() > 0) {
            std::size_t nearest = series.summary.nearest(at);
            double distance = std::abs(static_cast<double>(series.summary.samples().times[nearest]) - at);
            if (distance <= tolerance || distance * 2 < static_cast<double>(series.summary.intervalSeconds())) {
                row.sample = nearest;
                row.text = sampleText(series.info, series.summary.samples().values[nearest]);
            }
        }
        readout.rows.push_back(std::move(row));
    }
    return readout;
}

}  // namespace fenta21::plot
