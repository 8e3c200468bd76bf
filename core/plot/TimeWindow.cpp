#include "core/plot/TimeWindow.h"

#include <algorithm>

namespace fenta21::plot {

void TimeWindow::setExtent(double first, double last) {
    if (!(last >= first)) last = first;
    // A single instant is shown in the middle of the shortest stretch.
    if (last - first < kShortestSpan) {
        double middle = (first + last) / 2;
        first = middle - kShortestSpan / 2;
        last = middle + kShortestSpan / 2;
    }
    first_ = first;
    last_ = last;
    showAll();
}

void TimeWindow::showAll() {
    from_ = first_;
    to_ = last_;
}

void TimeWindow::zoom(double factor, double anchor) {
    if (!(factor > 0)) return;
    double span = std::clamp((to_ - from_) * factor, kShortestSpan, last_ - first_);
    double share = to_ > from_ ? (anchor - from_) / (to_ - from_) : 0.5;
    share = std::clamp(share, 0.0, 1.0);
    from_ = anchor - share * span;
    to_ = from_ + span;
    keepInside();
}

void TimeWindow::pan(double seconds) {
    from_ += seconds;
    to_ += seconds;
    keepInside();
}

void TimeWindow::show(double from, double to) {
    if (to < from) std::swap(from, to);
    from = std::max(from, first_);
    to = std::min(to, last_);
    if (to - from < kShortestSpan) {
        double middle = (from + to) / 2;
        from = middle - kShortestSpan / 2;
        to = middle + kShortestSpan / 2;
    }
    from_ = from;
    to_ = to;
    keepInside();
}

void TimeWindow::keepInside() {
    double span = std::min(to_ - from_, last_ - first_);
    if (from_ < first_) from_ = first_;
    if (from_ + span > last_) from_ = last_ - span;
    to_ = from_ + span;
}

}  // namespace fenta21::plot
