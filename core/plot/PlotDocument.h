#pragma once

#include "core/plot/AxisTicks.h"
#include "core/plot/PlotSeries.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fenta21::plot {

// A pane of the picture: the traces that share a value axis, because they show the same kind
// of value in the same unit.
struct Pane {
    ValueType type = ValueType::Number;
    std::string unit;
    std::vector<std::size_t> series;
};

// Everything open in one plot: the series of every source, which of them are switched on, and
// how they share panes. The window and the headless pictures both draw from it.
class PlotDocument {
public:
    // The source's series are added switched on; a source with a problem adds nothing.
    void add(SourceSeries source);
    void clear();

    const std::vector<PlotSeries>& series() const { return series_; }
    const std::vector<std::string>& sources() const { return sources_; }
    bool empty() const { return series_.empty(); }

    bool visible(std::size_t i) const { return i < visible_.size() && visible_[i]; }
    void setVisible(std::size_t i, bool on);
    std::vector<std::size_t> visibleSeries() const;

    // What a legend or list calls a series: its name, after its source's when several are open.
    std::string label(std::size_t i) const;

    // The first and last sample time of every series, switched on or not.
    std::optional<std::pair<std::int64_t, std::int64_t>> extent() const;

    // The visible series grouped into panes, in the order their first series were added.
    std::vector<Pane> panes() const;

    // A pane's value axis for the samples in [from, to].
    ValueAxis paneAxis(const Pane& pane, double from, double to, int maxTicks) const;

    RangeStats stats(std::size_t i, double from, double to) const;

private:
    std::vector<PlotSeries> series_;
    std::vector<bool> visible_;
    std::vector<std::string> sources_;
};

}  // namespace fenta21::plot
