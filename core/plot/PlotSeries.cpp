#include "core/plot/PlotSeries.h"

#include <algorithm>

namespace fenta21::plot {

std::string unitText(std::string unit) {
    while (!unit.empty() && unit.back() == ' ') unit.pop_back();
    while (!unit.empty() && unit.front() == ' ') unit.erase(unit.begin());
    return unit;
}

void nameByChannelWhereShared(std::vector<SeriesInfo*> series) {
    std::vector<int> kinds;
    for (const SeriesInfo* info : series) kinds.push_back(info->kind);
    for (SeriesInfo* info : series) {
        bool shared = std::count(kinds.begin(), kinds.end(), info->kind) > 1;
        if (shared || info->name.empty())
            info->name += (info->name.empty() ? "CH" : " CH") + std::to_string(info->channel + 1);
    }
}

}  // namespace fenta21::plot
