#include "core/plot/SeriesSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace fenta21::plot {
namespace {

struct SummaryRow {
    const char* legend;
    std::size_t samples;
    int duplicateEvery;  // every n-th sample repeats the time before it (0: never)
    int gapEvery;        // every n-th step is ten intervals long (0: never)
};

Samples makeSamples(const SummaryRow& row, std::mt19937& random) {
    Samples s;
    std::int64_t t = 1'700'000'000;
    std::uniform_real_distribution<double> value(-500, 500);
    for (std::size_t i = 0; i < row.samples; ++i) {
        if (i > 0) {
            bool duplicate = row.duplicateEvery > 0 && i % static_cast<std::size_t>(row.duplicateEvery) == 0;
            bool gap = row.gapEvery > 0 && i % static_cast<std::size_t>(row.gapEvery) == 0;
            t += duplicate ? 0 : (gap ? 600 : 60);
        }
        s.times.push_back(t);
        s.values.push_back(std::round(value(random) * 10) / 10);
    }
    return s;
}

RangeStats bruteStats(const Samples& s, std::size_t begin, std::size_t end) {
    RangeStats r;
    for (std::size_t i = begin; i < end; ++i) {
        r.min = r.count == 0 ? s.values[i] : std::min(r.min, s.values[i]);
        r.max = r.count == 0 ? s.values[i] : std::max(r.max, s.values[i]);
        r.sum += s.values[i];
        ++r.count;
    }
    return r;
}

void expectSameStats(const RangeStats& got, const RangeStats& want, const std::string& where) {
    ASSERT_EQ(got.count, want.count) << where;
    if (want.count == 0) return;
    EXPECT_EQ(got.min, want.min) << where;
    EXPECT_EQ(got.max, want.max) << where;
    EXPECT_NEAR(got.sum, want.sum, 1e-9 * std::max(1.0, std::abs(want.sum))) << where;
}

// The summary answers every range and every picture width exactly as a walk over all samples
// would: counts, extremes, sums, the first and last sample of each pixel column, and the
// sample nearest a time.
TEST(SeriesSummary, AnswersAsAWalkOverEverySampleWould) {
    const SummaryRow rows[] = {
        {"no samples", 0, 0, 0},
        {"one sample", 1, 0, 0},
        {"fewer than a first-level run", 7, 0, 0},
        {"exactly one run", 8, 0, 0},
        {"a run and one", 9, 0, 0},
        {"levels that do not fill up", 1000, 0, 0},
        {"equal times at one instant", 2053, 3, 0},
        {"gaps", 4099, 0, 17},
    };
    std::mt19937 random(25);
    for (const SummaryRow& row : rows) {
        Samples samples = makeSamples(row, random);
        SeriesSummary summary(samples);
        ASSERT_EQ(summary.size(), samples.size()) << row.legend;
        const double first = samples.times.empty() ? 0 : static_cast<double>(samples.times.front());
        const double last = samples.times.empty() ? 100 : static_cast<double>(samples.times.back());
        std::uniform_real_distribution<double> when(first - 300, last + 300);
        std::uniform_int_distribution<int> width(1, 400);
        for (int query = 0; query < 60; ++query) {
            double from = when(random), to = when(random);
            if (to < from) std::swap(from, to);
            if (query == 0) from = first, to = last;  // the whole series, as Home shows it
            const std::string where = std::string(row.legend) + " [" + std::to_string(from) + ", " + std::to_string(to) + "]";

            std::size_t begin = 0, end = 0;
            while (begin < samples.size() && samples.times[begin] < from) ++begin;
            end = begin;
            while (end < samples.size() && samples.times[end] <= to) ++end;
            IndexRange range = summary.indexRange(from, to);
            ASSERT_EQ(range.begin, begin) << where;
            ASSERT_EQ(range.end, end) << where;
            expectSameStats(summary.stats(range), bruteStats(samples, begin, end), where);

            int w = width(random);
            std::vector<EnvelopeColumn> columns = summary.envelope(from, to, w);
            ASSERT_EQ(columns.size(), static_cast<std::size_t>(w)) << where;
            std::size_t next = begin;
            for (int p = 0; p < w; ++p) {
                std::size_t columnEnd = next;
                double edge = from + (to - from) * (p + 1) / w;
                while (columnEnd < end && (p + 1 == w || static_cast<double>(samples.times[columnEnd]) < edge)) ++columnEnd;
                const EnvelopeColumn& c = columns[static_cast<std::size_t>(p)];
                RangeStats want = bruteStats(samples, next, columnEnd);
                ASSERT_EQ(c.count, want.count) << where << " column " << p << " of " << w;
                if (want.count > 0) {
                    EXPECT_EQ(c.min, want.min) << where << " column " << p;
                    EXPECT_EQ(c.max, want.max) << where << " column " << p;
                    EXPECT_EQ(c.firstIndex, next) << where << " column " << p;
                    EXPECT_EQ(c.lastIndex, columnEnd - 1) << where << " column " << p;
                }
                next = columnEnd;
            }

            if (samples.size() == 0) continue;
            std::size_t nearest = summary.nearest(from);
            double best = std::abs(static_cast<double>(samples.times[nearest]) - from);
            for (std::size_t i = 0; i < samples.size(); ++i)
                ASSERT_LE(best, std::abs(static_cast<double>(samples.times[i]) - from)) << where << " nearest";
        }
    }
}

// A step longer than twice the usual one is a gap, whatever else the series holds.
TEST(SeriesSummary, FindsGapsLongerThanTwiceTheInterval) {
    struct GapRow {
        const char* legend;
        std::vector<std::int64_t> times;
        std::int64_t interval;
        std::vector<std::size_t> gapsAfter;
    };
    const GapRow rows[] = {
        {"even steps", {0, 600, 1200, 1800}, 600, {}},
        {"twice the interval is no gap", {0, 600, 1800, 2400, 3000}, 600, {}},
        {"a step past twice is", {0, 600, 1201 + 600, 2401, 3001}, 600, {1}},
        {"a day away", {0, 60, 120, 180, 86400, 86460}, 60, {3}},
        {"equal times do not make the interval zero", {0, 0, 60, 60, 120, 120, 600, 600}, 60, {5}},
        {"one instant has no interval and no gaps", {5, 5, 5}, 0, {}},
    };
    for (const GapRow& row : rows) {
        Samples s;
        s.times = row.times;
        s.values.assign(row.times.size(), 1.0);
        SeriesSummary summary(s);
        EXPECT_EQ(summary.intervalSeconds(), row.interval) << row.legend;
        std::vector<std::size_t> gaps;
        for (std::size_t i = 0; i < row.times.size(); ++i)
            if (summary.gapAfter(i)) gaps.push_back(i);
        EXPECT_EQ(gaps, row.gapsAfter) << row.legend;
    }
}

}  // namespace
}  // namespace fenta21::plot
