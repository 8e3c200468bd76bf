#pragma once

namespace fenta21::plot {

// The visible stretch of time, kept inside what the data cover: zoom about a point (the one
// under the cursor stays under it), pan, a chosen range, and back to the whole.
class TimeWindow {
public:
    // The shortest stretch shown: closer than this every sample is far apart anyway.
    static constexpr double kShortestSpan = 10;

    // The data run from `first` to `last` (logger seconds); shows all of them.
    void setExtent(double first, double last);
    void showAll();

    double from() const { return from_; }
    double to() const { return to_; }
    double span() const { return to_ - from_; }
    double extentFrom() const { return first_; }
    double extentTo() const { return last_; }
    bool showsAll() const { return from_ <= first_ && to_ >= last_; }

    // Factor below 1 zooms in, above 1 out; `anchor` keeps its place on the screen.
    void zoom(double factor, double anchor);
    // Moves by `seconds` (negative: towards the past).
    void pan(double seconds);
    // Shows [from, to] (a rubber band, or a range typed in), within the data.
    void show(double from, double to);

private:
    void keepInside();

    double first_ = 0;
    double last_ = kShortestSpan;
    double from_ = 0;
    double to_ = kShortestSpan;
};

}  // namespace fenta21::plot
