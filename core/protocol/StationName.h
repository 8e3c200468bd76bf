#pragma once

namespace fenta21 {

// A logger names itself ("eerm0") in up to 39 characters. A reply longer than the reader's
// limit is a failed read, so every reader of the name gives room for the longest name and
// its line end: a smaller limit would refuse a logger with a long name outright.
inline constexpr int kStationNameMax = 39;
inline constexpr int kStationNameReplyMax = kStationNameMax + 1;

}  // namespace fenta21
