#pragma once

#include "core/plot/PlotDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::plot {

// A picture asked for on the command line:
//   FILE... | --station NAME, --out OUT.png|.svg|.pdf, [--series A,B...] [--from T] [--to T]
//   [--size WxH] [--json]
struct PlotRequest {
    std::vector<std::string> files;
    std::string station;
    std::string out;
    std::vector<std::string> series;  // names or numbers from 1, as "--series" gave them
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    int width = 1600;
    int height = 900;
    bool json = false;
};

struct ParsedPlotRequest {
    PlotRequest request;
    std::string error;  // a usage error, in plain words, or ""
};

inline constexpr int kLargestPictureSide = 16384;

ParsedPlotRequest parsePlotRequest(const std::vector<std::string>& args);

// Switches on only the series asked for: each word is a series' label as the legend shows it,
// its name, or its number in the document from 1. Returns the words that matched nothing, said
// with the series there are ("", when all matched); with none asked, every series stays on.
std::string chooseSeries(PlotDocument& document, const std::vector<std::string>& wanted);

}  // namespace fenta21::plot
