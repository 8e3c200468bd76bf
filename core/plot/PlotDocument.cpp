#include "core/plot/PlotDocument.h"

#include <algorithm>

namespace fenta21::plot {

void PlotDocument::add(SourceSeries source) {
    if (!source.problem.empty() || source.series.empty()) return;
    sources_.push_back(source.source);
    for (PlotSeries& series : source.series) {
        series_.push_back(std::move(series));
        visible_.push_back(true);
    }
}

void PlotDocument::clear() {
    series_.clear();
    visible_.clear();
    sources_.clear();
}

void PlotDocument::setVisible(std::size_t i, bool on) {
    if (i < visible_.size()) visible_[i] = on;
}

std::vector<std::size_t> PlotDocument::visibleSeries() const {
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < series_.size(); ++i)
        if (visible_[i]) shown.push_back(i);
    return shown;
}

std::string PlotDocument::label(std::size_t i) const {
    if (i >= series_.size()) return {};
    const SeriesInfo& info = series_[i].info;
    return sources_.size() > 1 ? info.source + ": " + info.name : info.name;
}

std::optional<std::pair<std::int64_t, std::int64_t>> PlotDocument::extent() const {
    std::optional<std::pair<std::int64_t, std::int64_t>> span;
    for (const PlotSeries& series : series_) {
        const std::vector<std::int64_t>& times = series.summary.samples().times;
        if (times.empty()) continue;
        if (!span) span = {times.front(), times.back()};
        span->first = std::min(span->first, times.front());
        span->second = std::max(span->second, times.back());
    }
    return span;
}

std::vector<Pane> PlotDocument::panes() const {
    std::vector<Pane> panes;
    for (std::size_t i : visibleSeries()) {
        const SeriesInfo& info = series_[i].info;
        auto pane = std::find_if(panes.begin(), panes.end(),
                                 [&](const Pane& p) { return p.type == info.type && p.unit == info.unit; });
        if (pane == panes.end()) pane = panes.insert(panes.end(), Pane{info.type, info.unit, {}});
        pane->series.push_back(i);
    }
    return panes;
}

RangeStats PlotDocument::stats(std::size_t i, double from, double to) const {
    if (i >= series_.size()) return {};
    const SeriesSummary& summary = series_[i].summary;
    return summary.stats(summary.indexRange(from, to));
}

ValueAxis PlotDocument::paneAxis(const Pane& pane, double from, double to, int maxTicks) const {
    RangeStats all;
    for (std::size_t i : pane.series) {
        RangeStats s = stats(i, from, to);
        if (s.count == 0) continue;
        all.min = all.count == 0 ? s.min : std::min(all.min, s.min);
        all.max = all.count == 0 ? s.max : std::max(all.max, s.max);
        all.count += s.count;
    }
    return valueAxis(pane.type, all.min, all.max, maxTicks);
}

}  // namespace fenta21::plot
