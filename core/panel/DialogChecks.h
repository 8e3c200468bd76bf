#pragma once

#include "core/panel/SettingValues.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// What the settings dialogs accept, and how their fields are read back into the numbers
// the write commands carry. Each check returns the message to show, or an empty text when
// the entries are acceptable; a dialog whose check complains stays open. The command-line
// program runs the same checks on its arguments before it opens the line.

inline constexpr int kRtcAdjustMin = -64;
inline constexpr int kRtcAdjustMax = 63;
inline constexpr std::size_t kMemoColumns = 16;
inline constexpr int kMemoCount = 6;

// The offset's bounds: the logger's "limtl0" and "limtu0" once read, these before.
struct OffsetLimits {
    double lower = -655.35;
    double upper = 655.35;
};

std::optional<int> readRtcAdjustment(std::string_view text);
std::string checkRtcAdjustment(const std::vector<std::string>& fields);

// Each memo at most sixteen bytes of text the logger can hold (code page 932, no control
// characters: a line break would end the write command early). The complaint names the memo
// ("MEMO 3") by its number, 1 to 6; checkMemos numbers the fields from 1.
std::string memoLabel(int number);
std::string checkMemo(int number, const std::string& memo);
std::string checkMemos(const std::vector<std::string>& fields);

// After Start: date "month/day", time "hour:minute".
std::optional<AfterStart> readAfterStartFields(const std::vector<std::string>& fields);
std::string checkAfterStart(const std::vector<std::string>& fields);
std::vector<std::string> afterStartFields(const AfterStart& start);

// Date and time: "year/month/day" (the year within the century), "hour:minute:second".
std::optional<LoggerTime> readDateTimeFields(const std::vector<std::string>& fields);
std::string checkDateTime(const std::vector<std::string>& fields);
std::vector<std::string> dateTimeFields(const LoggerTime& time);

// Offset: a decimal number within the limits.
std::optional<double> readOffset(std::string_view text, const OffsetLimits& limits);
std::string checkOffset(const std::vector<std::string>& fields, const OffsetLimits& limits);

// A number in its shortest exact form ("655.35", "-10"), for messages and edit boxes.
std::string shortestDecimal(double value);

}  // namespace fenta21
