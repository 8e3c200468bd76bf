#include "core/panel/SettingValues.h"

#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"

#include <array>
#include <cstdio>
#include <limits>

namespace fenta21 {
namespace {

constexpr std::array<std::string_view, 7> kWaveCancelerNames = {" OFF", "  5S", " 10S", " 15S", " 20S", " 25S", " 30S"};
constexpr int kFirstSecondSetting = 60;

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Reads "%02d" fields one after another; all of them or none.
template <std::size_t N>
bool readTwoDigitFields(std::string_view reply, std::array<int*, N> fields) {
    std::array<int, N> values{};
    ReplyScanner scanner(reply);
    for (std::size_t i = 0; i < N; ++i)
        if (!scanner.digits(values[i], 2)) return false;
    for (std::size_t i = 0; i < N; ++i) *fields[i] = values[i];
    return true;
}

}  // namespace

std::optional<std::string> batteryValue(std::string_view reply) {
    std::optional<int> level = leadingInteger(reply);
    if (!level) return std::nullopt;
    // A level above 100 or below 0 must not draw outside the brackets.
    int stars = *level / 10;
    if (stars < 0) stars = 0;
    if (stars > 10) stars = 10;
    std::string gauge = "[" + std::string(static_cast<std::size_t>(10 - stars), '_') +
                        std::string(static_cast<std::size_t>(stars), '*') + "]";
    return rightAligned(gauge);
}

std::optional<int> presetTimerSetting(std::string_view reply) {
    std::optional<int> number = leadingInteger(reply);
    if (!number) return std::nullopt;
    bool seconds = reply.find("sec") != std::string_view::npos;
    if (!seconds) return *number;
    // Seconds count on from the first second setting; a number without such a setting is
    // not one the logger can hold.
    if (*number > std::numeric_limits<int>::max() - kFirstSecondSetting) return std::nullopt;
    return *number + kFirstSecondSetting;
}

std::string presetTimerValue(int setting) {
    if (setting == 0) return rightAligned("OFF");
    if (setting >= kFirstSecondSetting) return rightAligned(std::to_string(setting - kFirstSecondSetting) + "sec");
    return rightAligned(std::to_string(setting) + "min");
}

std::optional<int> presetTimerSettingOfValue(std::string_view valueText) {
    std::string_view text = trimmed(valueText);
    if (text == "OFF") return 0;
    return presetTimerSetting(text);
}

std::optional<AfterStart> parseAfterStart(std::string_view reply) {
    AfterStart start;
    if (!readTwoDigitFields<4>(reply, {&start.month, &start.day, &start.hour, &start.minute})) return std::nullopt;
    return start;
}

std::string afterStartValue(const AfterStart& start) {
    return rightAligned(twoDigits(start.month) + "/" + twoDigits(start.day) + " " + twoDigits(start.hour) + ":" +
                        twoDigits(start.minute));
}

std::optional<LoggerTime> parseLoggerTime(std::string_view reply) {
    LoggerTime t;
    if (!readTwoDigitFields<6>(reply, {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second})) return std::nullopt;
    return t;
}

std::string timeValue(const LoggerTime& t) {
    return rightAligned(twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second));
}

std::string dateValue(const LoggerTime& t) {
    return rightAligned("'" + twoDigits(t.year) + "/" + twoDigits(t.month) + "/" + twoDigits(t.day));
}

std::optional<std::string> offsetValue(int digit, double offset) {
    if (digit < 0 || digit > 2) return std::nullopt;
    return rightAligned(signedZeroPadded(offset, 7, 4 - digit) + "m");
}

std::optional<std::string_view> waveCancelerName(int code) {
    if (code < 0 || code >= static_cast<int>(kWaveCancelerNames.size())) return std::nullopt;
    return kWaveCancelerNames[static_cast<std::size_t>(code)];
}

std::optional<std::string> waveCancelerValue(int code) {
    std::optional<std::string_view> name = waveCancelerName(code);
    if (!name) return std::nullopt;
    return rightAligned(*name);
}

std::string comSpeedValue(std::string_view reply) { return rightAligned(loggerText(tailFrom(reply, 2))); }
std::string intervalValue(std::string_view reply) { return rightAligned(loggerText(tailFrom(reply, 3))); }
std::string zeroSetValue(std::string_view reply) { return rightAligned(loggerText(tailFrom(reply, 2))); }
std::string plainValue(std::string_view reply) { return rightAligned(loggerText(reply)); }
std::string memoValue(std::string_view reply) { return leftAligned(loggerText(reply)); }

}  // namespace fenta21
