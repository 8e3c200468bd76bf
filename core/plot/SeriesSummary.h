#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fenta21::plot {

// The samples of one series in time order: a time (seconds on the logger's calendar) and the
// value the record reads as a number.
struct Samples {
    std::vector<std::int64_t> times;
    std::vector<double> values;

    std::size_t size() const { return times.size(); }
};

// Samples [begin, end) of a series.
struct IndexRange {
    std::size_t begin = 0;
    std::size_t end = 0;

    std::size_t count() const { return end - begin; }
    bool empty() const { return end <= begin; }
};

// What a range of samples holds, exactly: every sample counts, whatever the range's size.
struct RangeStats {
    std::size_t count = 0;
    double min = 0;
    double max = 0;
    double sum = 0;

    double mean() const { return count == 0 ? 0 : sum / static_cast<double>(count); }
};

// One pixel column of a trace: the samples whose times fall in it, as their extremes and the
// first and last of them, which the line to the neighbouring columns starts and ends on.
struct EnvelopeColumn {
    std::size_t count = 0;
    double min = 0;
    double max = 0;
    std::size_t firstIndex = 0;
    std::size_t lastIndex = 0;
};

// A series with its multi-resolution summary: level k holds, for every run of 2^k samples
// aligned on a multiple of 2^k, their minimum, maximum and sum. Any range of samples is then
// whole runs of the levels plus fewer than 2^kFirstLevel samples at either end, so the
// statistics of a visible range and each pixel column of a picture cost the logarithm of the
// samples, not the samples: a frame of a two-million-record file costs about its pixels.
class SeriesSummary {
public:
    SeriesSummary() = default;
    // `samples` must be in time order (equal times keep their order).
    explicit SeriesSummary(Samples samples);

    const Samples& samples() const { return samples_; }
    std::size_t size() const { return samples_.size(); }

    // The usual spacing of the records (the median of the steps between distinct times), or 0
    // when fewer than two distinct times are there.
    std::int64_t intervalSeconds() const { return interval_; }
    // Whether the step from sample i to sample i + 1 is a gap: longer than twice the interval,
    // so that records are missing there and no line may join the two.
    bool gapAfter(std::size_t i) const;

    // The samples whose times t satisfy from <= t <= to.
    IndexRange indexRange(double from, double to) const;
    RangeStats stats(IndexRange range) const;

    // The columns of a picture `width` pixels wide over [from, to]: column p holds the samples
    // with from + p*step <= t < from + (p+1)*step, the last column also those at `to`.
    std::vector<EnvelopeColumn> envelope(double from, double to, int width) const;

    // The sample nearest in time to `t` (the earlier of two equally near), or size() when empty.
    std::size_t nearest(double t) const;

private:
    struct Bucket {
        double min;
        double max;
        double sum;
    };
    static constexpr int kFirstLevel = 3;

    void buildLevels();
    // Binary searches over the times of samples [begin, end).
    std::size_t firstAtOrAfter(double at, std::size_t begin, std::size_t end) const;
    std::size_t firstAfter(double at, std::size_t begin, std::size_t end) const;
    void addSample(RangeStats& into, std::size_t i) const;
    static void addBucket(RangeStats& into, const Bucket& bucket, std::size_t samples);

    Samples samples_;
    std::int64_t interval_ = 0;
    // levels_[j] is level kFirstLevel + j.
    std::vector<std::vector<Bucket>> levels_;
};

}  // namespace fenta21::plot
