#include "sim/LoggerSettings.h"

#include "core/protocol/ModelKinds.h"
#include "sim/LoggerMeasurements.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace fenta21::sim {
namespace {

constexpr const char* kIntervalNames[31] = {
    "1sec",  "2sec",  "3sec",  "4sec",  "5sec",  "6sec",  "10sec", "12sec", "15sec", "20sec", "30sec",
    "1min",  "2min",  "3min",  "4min",  "5min",  "6min",  "10min", "12min", "15min", "20min", "30min",
    "1hour", "2hour", "3hour", "4hour", "6hour", "8hour", "12hour", "24hour", "EXTin"};
constexpr const char* kZeroNames[2] = {"    Zero", " Default"};
constexpr std::size_t kMemoBytes = 16;

bool isFamily(int kind, std::initializer_list<int> families) {
    for (int family : families)
        if (kind == family) return true;
    return false;
}

// The interval codes the logger's firmware accepts, by family.
bool offersInterval(int kind, int code) {
    using namespace ModelKind;
    if (code < 0 || code > 30) return false;
    if (kind == kWNDA) return code <= 17 || (code >= 20 && code <= 22);
    if (kind == kQP) return code >= 6 && code <= 22;
    if (kind == kCM) return code == 17 || (code >= 20 && code <= 29);
    if (isFamily(kind, {kRGT1, kFLKB, kCMLOGR, kXCMLOGR, kGAPD, kFLKA, kQ4, kQ8, kRP8, kRS8})) return code >= 11;
    return true;
}

bool hasOffset(int kind) { return kind == ModelKind::kLVLA || kind == ModelKind::kLVPQ; }

// A whole text as one integer, nothing else around it.
std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) return std::nullopt;
    return value;
}

std::optional<double> wholeDecimal(std::string_view text) {
    double value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end || begin == end || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "%02d" fields packed one after another, all digits.
template <std::size_t N>
bool twoDigitFields(std::string_view text, std::array<int, N>& fields) {
    if (text.size() != 2 * N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        char a = text[2 * i], b = text[2 * i + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') return false;
        fields[i] = (a - '0') * 10 + (b - '0');
    }
    return true;
}

std::string decimalText(double value, int decimals) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

// "memo3" -> ("memo", 3), "data-2" -> ("data", -2), "batt" -> ("batt", nothing).
std::pair<std::string, std::optional<int>> splitIndex(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
    if (digits == name.size()) return {name, std::nullopt};
    if (digits > 0 && name[digits - 1] == '-') --digits;
    auto index = wholeNumber(std::string_view(name).substr(digits));
    if (!index || digits == 0) return {name, std::nullopt};
    return {name.substr(0, digits), index};
}

}  // namespace

LoggerSettings::LoggerSettings() {
    for (std::size_t i = 0; i < memos_.size(); ++i) memos_[i] = "MEMO " + std::to_string(i + 1);
    setModel("WNDA-01");
}

void LoggerSettings::setModel(const std::string& modelCode) {
    profile_ = profileFor(modelCode);
    modes_.clear();
    for (int channel = 0; channel < profile_.channelCount; ++channel)
        modes_.push_back(profile_.kinds.empty() ? 127 : profile_.kinds[static_cast<std::size_t>(channel) % profile_.kinds.size()].code);
    zeroed_.assign(static_cast<std::size_t>(profile_.channelCount > 0 ? profile_.channelCount : 1), false);
    if (!offersInterval(profile_.modelKind, intervalCode_)) {
        for (int code = 0; code <= 30; ++code)
            if (offersInterval(profile_.modelKind, code)) {
                intervalCode_ = code;
                break;
            }
    }
    if (presetTimer_ >= 60 && (profile_.modelKind & 0x2000) == 0) presetTimer_ = 0;
}

std::optional<std::string> LoggerSettings::answer(const std::string& line) {
    std::size_t equals = line.find('=');
    auto [name, index] = splitIndex(line.substr(0, equals));
    if (equals == std::string::npos) return read(name, index);
    return write(name, index, line.substr(equals + 1));
}

std::string LoggerSettings::timeReply() const {
    CalendarTime t = clock_.now();
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", t.year % 100, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string LoggerSettings::afterReply() const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02d%02d", afterMonth_, afterDay_, afterHour_, afterMinute_);
    return text;
}

std::string LoggerSettings::presetReply() const {
    return presetTimer_ >= 60 ? std::to_string(presetTimer_ - 60) + "sec" : std::to_string(presetTimer_);
}

std::string LoggerSettings::intervalReply() const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d %s", intervalCode_, kIntervalNames[intervalCode_]);
    return text;
}

std::string LoggerSettings::modeReply(int channel) const {
    int code = modes_[static_cast<std::size_t>(channel)];
    char text[48];
    std::snprintf(text, sizeof text, "%03d %s", code, profile_.kindName(code).c_str());
    return text;
}

std::string LoggerSettings::zeroReply(int channel) const {
    int code = zeroed_[static_cast<std::size_t>(channel)] ? 0 : 1;
    return std::to_string(code) + "," + kZeroNames[code];
}

std::optional<std::string> LoggerSettings::monitorReply(int channel) const {
    const long long now = clock_.seconds();
    const int kind = profile_.modelKind;
    // The wind logger and HBLTZ report two kinds at once: speed and direction.
    bool pairForm = (kind == ModelKind::kWNDA && channel == 3) || (kind == ModelKind::kHBLTZ && channel >= 3 && channel <= 5);
    if (pairForm) {
        int speedKind = kind == ModelKind::kHBLTZ && channel == 5 ? 22 : 20;
        int directionKind = speedKind == 22 ? 73 : 72;
        return std::to_string(speedKind) + "," + std::to_string(measuredValue(speedKind, channel, now, false)) + "," +
               std::to_string(directionKind) + "," + std::to_string(measuredValue(directionKind, channel, now, false));
    }
    if (kind == ModelKind::kHBLTZ || !hasChannel(channel)) return std::nullopt;
    int recorded = modes_[static_cast<std::size_t>(channel)];
    int value = recorded == 127 ? 0 : measuredValue(recorded, channel, now, zeroed_[static_cast<std::size_t>(channel)]);
    return std::to_string(recorded) + "," + std::to_string(value);
}

std::optional<std::string> LoggerSettings::read(const std::string& name, std::optional<int> index) {
    const int kind = profile_.modelKind;
    if (!index) {
        if (name == "rome") return rom_;
        if (name == "batt") return std::to_string(battery_);
        if (name == "radj") return std::to_string(rtcAdjust_);
        if (name == "coms") {
            int speedIndex = 0;
            for (std::uint32_t speed : {300u, 600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u, 115200u}) {
                if (speed == lineSpeed_) break;
                ++speedIndex;
            }
            return (speedIndex < 10 ? "0" + std::to_string(speedIndex) : std::string("--")) + " " +
                   std::to_string(lineSpeed_) + "bps";
        }
        if (name == "after") return afterReply();
        if (name == "pretm") return presetReply();
        if (name == "intv") return intervalReply();
        if (name == "time") return timeReply();
        if (name == "data") return read("data", 0);
        if (hasOffset(kind)) {
            if (name == "digit") return std::to_string(digit_);
            if (name == "wave") return std::to_string(wave_);
        }
        if (name == "zero" && kind == ModelKind::kQS) return zeroReply(0);
        return std::nullopt;
    }
    const int n = *index;
    if (name == "memo" && n >= 1 && n <= 6) return memos_[static_cast<std::size_t>(n - 1)];
    if (name == "offs" && n == 0 && hasOffset(kind)) return decimalText(offset_, 4);
    if (name == "limtu" && n == 0 && hasOffset(kind)) return decimalText(upperLimit_, 3);
    if (name == "limtl" && n == 0 && hasOffset(kind)) return decimalText(lowerLimit_, 3);
    if (name == "zero" && kind == ModelKind::kRS8 && hasChannel(n)) return zeroReply(n);
    if (name == "mode" && hasChannel(n)) return modeReply(n);
    if (name == "moni") return monitorReply(n);
    if (name == "data" && n <= 0)
        return historyRecord(HistoryView{profile_, modes_, zeroed_, intervalCode_}, clock_.seconds(), -n);
    return std::nullopt;
}

std::optional<std::string> LoggerSettings::write(const std::string& name, std::optional<int> index,
                                                 const std::string& value) {
    const int kind = profile_.modelKind;
    const std::optional<std::string> refused = std::string("?");
    const int n = index.value_or(-1);
    if (name == "memo" && n >= 1 && n <= 6) {
        if (value.size() > kMemoBytes) return refused;
        memos_[static_cast<std::size_t>(n - 1)] = value;
        return value;
    }
    if (index && !(name == "mode" || name == "zero" || (name == "offs" && n == 0))) return std::nullopt;
    std::optional<int> number = wholeNumber(value);

    if (name == "radj") {
        if (!number || *number < -64 || *number > 63) return refused;
        rtcAdjust_ = *number;
        return std::to_string(rtcAdjust_);
    }
    if (name == "after") {
        std::array<int, 4> f{};
        if (!twoDigitFields(value, f) || f[0] < 1 || f[0] > 12 || f[1] < 1 || f[1] > 31 || f[2] > 23 || f[3] > 59)
            return refused;
        afterMonth_ = f[0], afterDay_ = f[1], afterHour_ = f[2], afterMinute_ = f[3];
        return afterReply();
    }
    if (name == "pretm") {
        int highest = (kind & 0x2000) != 0 ? 90 : 59;
        if (!number || *number < 0 || *number > highest) return refused;
        presetTimer_ = *number;
        return presetReply();
    }
    if (name == "intv") {
        if (!number || !offersInterval(kind, *number)) return refused;
        intervalCode_ = *number;
        return intervalReply();
    }
    if (name == "time") {
        std::array<int, 6> f{};
        if (!twoDigitFields(value, f) || f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 || f[3] > 23 || f[4] > 59 ||
            f[5] > 59)
            return refused;
        clock_.set(CalendarTime{2000 + f[0], f[1], f[2], f[3], f[4], f[5]});
        return timeReply();
    }
    if (hasOffset(kind)) {
        if (name == "offs") {
            std::optional<double> offset = wholeDecimal(value);
            if (!offset || *offset < lowerLimit_ || *offset > upperLimit_) return refused;
            offset_ = *offset;
            return decimalText(offset_, 4);
        }
        if (name == "wave") {
            if (!number || *number < 0 || *number > 6) return refused;
            wave_ = *number;
            return std::to_string(wave_);
        }
    }
    if (name == "zero") {
        int channel = index ? n : 0;
        bool allowed = index ? kind == ModelKind::kRS8 && hasChannel(channel) : kind == ModelKind::kQS;
        if (!allowed) return std::nullopt;
        if (!number || (*number != 0 && *number != 1)) return refused;
        zeroed_[static_cast<std::size_t>(channel)] = *number == 0;
        return zeroReply(channel);
    }
    if (name == "mode" && index) {
        if (!hasChannel(n)) return std::nullopt;
        if (!number || (*number != 127 && !profile_.hasKind(*number))) return refused;
        modes_[static_cast<std::size_t>(n)] = *number;
        return modeReply(n);
    }
    return std::nullopt;
}

}  // namespace fenta21::sim
