#include "sim/LoggerMeasurements.h"

#include "sim/LoggerClock.h"

#include <array>
#include <cstdio>

namespace fenta21::sim {
namespace {

constexpr std::array<int, 31> kIntervalSeconds = {1,    2,    3,    4,     5,     6,     10,    12,   15,  20, 30,
                                                  60,   120,  180,  240,   300,   360,   600,   720,  900, 1200,
                                                  1800, 3600, 7200, 10800, 14400, 21600, 28800, 43200, 86400, 60};

int wave(long long seconds, int period, int amplitude) {
    return static_cast<int>((seconds % period) * amplitude / period);
}

}  // namespace

int measuredValue(int kind, int channel, long long seconds, bool zeroed) {
    switch (kind) {
    case 20: return 40 + wave(seconds, 97, 80);            // mean wind, tenths of m/s
    case 22: return 70 + wave(seconds, 89, 120);           // gust
    case 72: case 73: return 1 + static_cast<int>(seconds / 10 % 16);  // direction 1-16
    case 24: return 3600 + static_cast<int>(seconds % 3600);          // time of the gust, seconds of day
    case 5: return 120 + wave(seconds, 61, 30);            // temperature, tenths
    case 0: return 12500 + wave(seconds, 53, 40);          // battery, mV
    case 32: return 12345 + wave(seconds, 59, 50);         // water level, 1/10000 m
    case 38: return wave(seconds, 300, 300);               // rain, tenths of mm
    case 105: return 85;                                   // snow depth, cm
    case 92: return 1234 + wave(seconds, 71, 40);          // tide level, mm
    case 8: return 650;                                    // humidity, tenths of %
    case 60: return zeroed ? wave(seconds, 5, 5) : 1000 + 10 * channel;  // strain
    default: return 0;
    }
}

int intervalSeconds(int code) {
    if (code < 0 || code >= static_cast<int>(kIntervalSeconds.size())) return 60;
    return kIntervalSeconds[static_cast<std::size_t>(code)];
}

std::optional<std::string> historyRecord(const HistoryView& view, long long now, int back) {
    const int channels = view.profile.channelCount;
    if (back < 0 || back >= kHistoryRecords || channels <= 0) return std::nullopt;
    const long long step = intervalSeconds(view.intervalCode);
    const long long newest = now - now % step;
    const int channel = back % channels;
    const long long at = newest - static_cast<long long>(back / channels) * step;
    const int kind = channel < static_cast<int>(view.modes.size()) ? view.modes[static_cast<std::size_t>(channel)] : 127;
    const bool zeroed = channel < static_cast<int>(view.zeroed.size()) && view.zeroed[static_cast<std::size_t>(channel)];
    CalendarTime t = LoggerClock::calendarOf(at);
    char text[96];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d,%02d:%02d:%02d,%d,%d,%d", t.year % 100, t.month, t.day, t.hour,
                  t.minute, t.second, channel, kind, measuredValue(kind, channel, at, zeroed));
    return std::string(text);
}

}  // namespace fenta21::sim
