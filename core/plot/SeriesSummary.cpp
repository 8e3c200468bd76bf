#include "core/plot/SeriesSummary.h"

#include <algorithm>

namespace fenta21::plot {
namespace {

// The median step between distinct neighbouring times: a logger that misses records now and
// then, or was stopped for a day, still has its set interval as the usual step.
std::int64_t medianStep(const std::vector<std::int64_t>& times) {
    std::vector<std::int64_t> steps;
    steps.reserve(times.size());
    for (std::size_t i = 1; i < times.size(); ++i)
        if (times[i] > times[i - 1]) steps.push_back(times[i] - times[i - 1]);
    if (steps.empty()) return 0;
    auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return *middle;
}

}  // namespace

SeriesSummary::SeriesSummary(Samples samples) : samples_(std::move(samples)) {
    interval_ = medianStep(samples_.times);
    buildLevels();
}

void SeriesSummary::buildLevels() {
    const std::vector<double>& v = samples_.values;
    constexpr std::size_t firstRun = std::size_t{1} << kFirstLevel;
    std::vector<Bucket> level;
    level.reserve(v.size() / firstRun);
    for (std::size_t start = 0; start + firstRun <= v.size(); start += firstRun) {
        Bucket b{v[start], v[start], 0};
        for (std::size_t i = start; i < start + firstRun; ++i) {
            b.min = std::min(b.min, v[i]);
            b.max = std::max(b.max, v[i]);
            b.sum += v[i];
        }
        level.push_back(b);
    }
    while (!level.empty()) {
        std::vector<Bucket> above;
        above.reserve(level.size() / 2);
        for (std::size_t j = 0; j + 1 < level.size(); j += 2)
            above.push_back(Bucket{std::min(level[j].min, level[j + 1].min), std::max(level[j].max, level[j + 1].max),
                                   level[j].sum + level[j + 1].sum});
        levels_.push_back(std::move(level));
        level = std::move(above);
    }
}

bool SeriesSummary::gapAfter(std::size_t i) const {
    if (interval_ <= 0 || i + 1 >= samples_.size()) return false;
    return samples_.times[i + 1] - samples_.times[i] > 2 * interval_;
}

std::size_t SeriesSummary::firstAtOrAfter(double at, std::size_t begin, std::size_t end) const {
    const std::vector<std::int64_t>& t = samples_.times;
    auto it = std::lower_bound(t.begin() + static_cast<std::ptrdiff_t>(begin), t.begin() + static_cast<std::ptrdiff_t>(end),
                               at, [](std::int64_t time, double value) { return static_cast<double>(time) < value; });
    return static_cast<std::size_t>(it - t.begin());
}

std::size_t SeriesSummary::firstAfter(double at, std::size_t begin, std::size_t end) const {
    const std::vector<std::int64_t>& t = samples_.times;
    auto it = std::upper_bound(t.begin() + static_cast<std::ptrdiff_t>(begin), t.begin() + static_cast<std::ptrdiff_t>(end),
                               at, [](double value, std::int64_t time) { return value < static_cast<double>(time); });
    return static_cast<std::size_t>(it - t.begin());
}

IndexRange SeriesSummary::indexRange(double from, double to) const {
    std::size_t first = firstAtOrAfter(from, 0, size());
    return {first, std::max(first, firstAfter(to, first, size()))};
}

void SeriesSummary::addSample(RangeStats& into, std::size_t i) const {
    double value = samples_.values[i];
    if (into.count == 0 || value < into.min) into.min = value;
    if (into.count == 0 || value > into.max) into.max = value;
    into.sum += value;
    ++into.count;
}

void SeriesSummary::addBucket(RangeStats& into, const Bucket& bucket, std::size_t samples) {
    if (into.count == 0 || bucket.min < into.min) into.min = bucket.min;
    if (into.count == 0 || bucket.max > into.max) into.max = bucket.max;
    into.sum += bucket.sum;
    into.count += samples;
}

RangeStats SeriesSummary::stats(IndexRange range) const {
    RangeStats result;
    std::size_t a = std::min(range.begin, samples_.size());
    std::size_t b = std::min(range.end, samples_.size());
    if (a >= b) return result;
    // Single samples up to the first level's alignment at both ends ...
    constexpr std::size_t firstRun = std::size_t{1} << kFirstLevel;
    while (a < b && a % firstRun != 0) addSample(result, a++);
    while (b > a && b % firstRun != 0) addSample(result, --b);
    // ... then at each level at most one run at either end, so that what is left is aligned
    // for the level above.
    for (std::size_t j = 0; a < b && j < levels_.size(); ++j) {
        std::size_t run = firstRun << j;
        if ((a / run) % 2 == 1) {
            addBucket(result, levels_[j][a / run], run);
            a += run;
        }
        if (a < b && (b / run) % 2 == 1) {
            addBucket(result, levels_[j][b / run - 1], run);
            b -= run;
        }
    }
    return result;
}

std::vector<EnvelopeColumn> SeriesSummary::envelope(double from, double to, int width) const {
    std::vector<EnvelopeColumn> columns;
    if (width <= 0 || !(to >= from)) return columns;
    columns.resize(static_cast<std::size_t>(width));
    IndexRange whole = indexRange(from, to);
    std::size_t begin = whole.begin;
    for (int p = 0; p < width; ++p) {
        std::size_t end = whole.end;
        if (p + 1 < width) end = firstAtOrAfter(from + (to - from) * (p + 1) / width, begin, whole.end);
        if (end > begin) {
            RangeStats s = stats({begin, end});
            columns[static_cast<std::size_t>(p)] = EnvelopeColumn{s.count, s.min, s.max, begin, end - 1};
        }
        begin = end;
    }
    return columns;
}

std::size_t SeriesSummary::nearest(double at) const {
    const std::vector<std::int64_t>& t = samples_.times;
    if (t.empty()) return 0;
    std::size_t i = firstAtOrAfter(at, 0, t.size());
    if (i == t.size()) return i - 1;
    if (i == 0) return 0;
    return at - static_cast<double>(t[i - 1]) <= static_cast<double>(t[i]) - at ? i - 1 : i;
}

}  // namespace fenta21::plot
