#pragma once

#include "sim/LoggerProfile.h"

#include <optional>
#include <string>
#include <vector>

namespace fenta21::sim {

// What the simulated logger measures: values that change with its clock, so that a panel
// polling it sees them move, but are fixed for a given second, so that tests can predict them.
// A strain channel set to its zero point reads near 0, else around its unstrained offset.
int measuredValue(int kind, int channel, long long seconds, bool zeroed);

// The seconds between records for an interval code (EXTin, an external trigger, as a minute).
int intervalSeconds(int code);

// One record of the logger's history, newest first: "%02d/%02d/%02d,%02d:%02d:%02d,%d,%d,%d".
// The newest instant is the last interval boundary of `now`; each instant holds one record
// per channel. Nothing for an index the history does not reach.
struct HistoryView {
    const LoggerProfile& profile;
    const std::vector<int>& modes;      // each channel's mode code (its recorded kind)
    const std::vector<bool>& zeroed;    // each channel's zero point
    int intervalCode = 0;
};
inline constexpr int kHistoryRecords = 10000;
std::optional<std::string> historyRecord(const HistoryView& view, long long now, int back);

}  // namespace fenta21::sim
