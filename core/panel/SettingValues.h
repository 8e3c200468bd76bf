#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// How each setting's reply becomes the value text the panel shows (sixteen columns,
// right-aligned unless said otherwise). A reply that does not read as the setting's form
// gives nothing, and the caller keeps the value it had: a value is never half-changed.

// "batt" 0-100: a star for every ten, right-justified inside "[__________]".
std::optional<std::string> batteryValue(std::string_view reply);

// "pretm": minutes 0-59, or "<n>sec" for seconds counted from 60 on (60 = 0 sec).
std::optional<int> presetTimerSetting(std::string_view reply);
std::string presetTimerValue(int setting);
// The setting that a shown Preset Timer value stands for ("OFF" is 0), for the dialog.
std::optional<int> presetTimerSettingOfValue(std::string_view valueText);

// "after": month, day, hour and minute, "%02d%02d%02d%02d".
struct AfterStart {
    int month = 0, day = 0, hour = 0, minute = 0;
};
std::optional<AfterStart> parseAfterStart(std::string_view reply);
std::string afterStartValue(const AfterStart& start);

// "time": year within the century, month, day, hour, minute, second.
struct LoggerTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
std::optional<LoggerTime> parseLoggerTime(std::string_view reply);
std::string timeValue(const LoggerTime& time);  // "%02d:%02d:%02d"
std::string dateValue(const LoggerTime& time);  // "'%02d/%02d/%02d"

// Offset in metres shown with the logger's digit setting: 0 four decimals, 1 three, 2 two.
// Another digit is not understood and gives nothing.
std::optional<std::string> offsetValue(int digit, double offset);

// The wave canceler codes 0-6; another code gives nothing.
std::optional<std::string> waveCancelerValue(int code);
std::optional<std::string_view> waveCancelerName(int code);

// The texts shown from a fixed position of the reply on: the COM speed from its third
// character, the interval from its fourth, the zero point from its third.
std::string comSpeedValue(std::string_view reply);
std::string intervalValue(std::string_view reply);
std::string zeroSetValue(std::string_view reply);
// Texts shown as the logger gave them: ROM version, RTC adjustment (right-aligned), memo
// (left-aligned).
std::string plainValue(std::string_view reply);
std::string memoValue(std::string_view reply);

}  // namespace fenta21
