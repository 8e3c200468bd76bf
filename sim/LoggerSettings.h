#pragma once

#include "sim/LoggerClock.h"
#include "sim/LoggerProfile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::sim {

// The settings and measurements of the simulated logger, as its panel commands read and
// write them: "batt", "memo1"-"memo6", "radj", "coms", "after", "pretm", "intv", "time",
// "digit", "offs0", "limtu0", "limtl0", "wave", "zero", "zero<n>", "mode<n>", "moni<n>",
// "data", "data<n>" and their "name=value" writes. A write that the logger accepts changes
// its state and is answered with the new value; one it refuses (a value out of range, a
// channel it lacks) is answered "?", like every command its model does not have.
class LoggerSettings {
public:
    LoggerSettings();

    // The model decides the channels, the kinds, and which commands exist; settings that
    // depend on the model start afresh.
    void setModel(const std::string& modelCode);
    void setLineSpeed(std::uint32_t bitsPerSecond) { lineSpeed_ = bitsPerSecond; }
    void setBatteryLevel(int level) { battery_ = level; }
    LoggerClock& clock() { return clock_; }
    const LoggerClock& clock() const { return clock_; }
    const LoggerProfile& profile() const { return profile_; }

    // The reply to a command (without its line end), or nothing when the command is not a
    // setting or measurement of this model; a refused write gives "?".
    std::optional<std::string> answer(const std::string& line);

private:
    std::optional<std::string> read(const std::string& name, std::optional<int> index);
    std::optional<std::string> write(const std::string& name, std::optional<int> index, const std::string& value);

    std::string timeReply() const;
    std::string afterReply() const;
    std::string presetReply() const;
    std::string intervalReply() const;
    std::string modeReply(int channel) const;
    std::string zeroReply(int channel) const;
    std::optional<std::string> monitorReply(int channel) const;
    bool hasChannel(int channel) const { return channel >= 0 && channel < profile_.channelCount; }

    LoggerProfile profile_;
    LoggerClock clock_;
    std::uint32_t lineSpeed_ = 9600;
    std::string rom_ = "ROM V2.10";
    int battery_ = 80;
    std::array<std::string, 6> memos_;
    int rtcAdjust_ = 0;
    int afterMonth_ = 1, afterDay_ = 1, afterHour_ = 0, afterMinute_ = 0;
    int presetTimer_ = 0;  // minutes 0-59, or 60 + seconds
    int intervalCode_ = 17;
    int digit_ = 1;
    double offset_ = 0.0;
    double upperLimit_ = 10.0;
    double lowerLimit_ = -10.0;
    int wave_ = 0;
    std::vector<int> modes_;
    std::vector<bool> zeroed_;
};

}  // namespace fenta21::sim
