#include "core/plot/SampleText.h"

#include "core/datafile/ValueFormatter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace fenta21::plot {

std::string fixedText(double value, int decimals) {
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "-";
    std::string result(text, end);
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) result.erase(0, 1);
    return result;
}

std::string sampleText(const SeriesInfo& info, double value) {
    switch (info.type) {
    case ValueType::Direction:
        return std::string(directionName(static_cast<int>(std::lround(value / 22.5))));
    case ValueType::TimeOfDay: {
        long long seconds = std::llround(value);
        char text[16];
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
        return text;
    }
    case ValueType::Number: break;
    }
    return fixedText(value, info.decimals);
}

StatsText statsText(const SeriesInfo& info, const RangeStats& stats) {
    StatsText text;
    text.count = std::to_string(stats.count);
    if (stats.count == 0) return text;
    text.min = sampleText(info, stats.min);
    text.max = sampleText(info, stats.max);
    if (info.type == ValueType::Number) text.mean = fixedText(stats.mean(), info.decimals + 1);
    else if (info.type == ValueType::TimeOfDay) text.mean = sampleText(info, stats.mean());
    return text;
}

}  // namespace fenta21::plot
