#include "core/plot/VisibleCsv.h"

#include "core/plot/SampleText.h"
#include "core/plot/TimeText.h"

#include <limits>

namespace fenta21::plot {
namespace {

constexpr const char* kLineEnd = "\r\n";

// A CSV cell that holds a comma or a quote is quoted, its quotes doubled.
std::string cell(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string visibleRecordsCsv(const PlotDocument& document, double from, double to) {
    const std::vector<std::size_t> shown = document.visibleSeries();
    std::string csv = "date,time";
    std::string units = ",";
    std::vector<IndexRange> ranges;
    for (std::size_t i : shown) {
        csv += "," + cell(document.label(i));
        units += "," + cell(document.series()[i].info.unit);
        const SeriesSummary& summary = document.series()[i].summary;
        ranges.push_back(summary.indexRange(from, to));
    }
    csv += kLineEnd + units + kLineEnd;

    // The traces are walked together, a line for the earliest time any of them has next.
    while (true) {
        std::int64_t next = std::numeric_limits<std::int64_t>::max();
        for (std::size_t k = 0; k < shown.size(); ++k)
            if (!ranges[k].empty()) next = std::min(next, document.series()[shown[k]].summary.samples().times[ranges[k].begin]);
        if (next == std::numeric_limits<std::int64_t>::max()) break;
        std::string when = timeText(next);
        when[10] = ',';  // "2026/04/01,00:10:00", as the program's CSV files write a time
        csv += when;
        for (std::size_t k = 0; k < shown.size(); ++k) {
            csv += ',';
            const PlotSeries& series = document.series()[shown[k]];
            if (!ranges[k].empty() && series.summary.samples().times[ranges[k].begin] == next)
                csv += sampleText(series.info, series.summary.samples().values[ranges[k].begin++]);
        }
        csv += kLineEnd;
    }
    return csv;
}

}  // namespace fenta21::plot
