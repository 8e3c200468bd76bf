#pragma once

#include "core/health/StationTally.h"

#include <optional>
#include <string_view>
#include <vector>

namespace fenta21 {

// When a station counts as failing or late; the home's settings may change both.
struct HealthThresholds {
    int failingAfter = 3;                  // failed attempts in a row
    EpochSeconds lateMargin = 15 * 60;     // beyond the longest reserved gap
};

// Worst first: the order an operator reads them in.
enum class HealthState {
    Failing,  // the last failingAfter attempts all failed
    Late,     // no contact for longer than the longest reserved gap and the margin
    Unknown,  // never reached yet
    Normal,
};

// "failing", "late", "unknown", "normal": the words of the status, the alerts and the metrics.
const char* healthStateName(HealthState state);
std::optional<HealthState> healthStateNamed(std::string_view name);

// What the record store holds of a station's records.
struct StationRecords {
    StationKey key;
    std::optional<EpochSeconds> newestRecord;
    long lastDay = 0;                              // records of the 24 hours before now
    std::optional<EpochSeconds> recordInterval;    // the logger's recording interval, when known
};

// A station this machine is meant to collect: listed before its first attempt too.
struct ExpectedStation {
    StationKey key;
    std::optional<EpochSeconds> interval;  // the longest reserved gap, when it is reserved at all
};

struct StationHealth {
    HealthState state = HealthState::Unknown;
    StationTally tally;  // its key names the station
    std::optional<EpochSeconds> expectedInterval;
    std::optional<EpochSeconds> newestRecord;
    long recordsLastDay = 0;
    std::optional<long> expectedRecordsLastDay;
    // The attempts of the 24 hours before now, oldest first, when they were asked for.
    std::vector<CollectionAttempt> lastDay;
    // The record store's station that its data files went to, when a store told it.
    std::string recordsStation;

    const StationKey& key() const { return tally.key; }
};

HealthState stationState(const StationTally& tally, std::optional<EpochSeconds> interval, EpochSeconds now,
                         const HealthThresholds& thresholds);

// Every station that has attempts or is expected, worst first; within a state the one longest
// without contact first, then by name and unit. A station's interval is that of the expected
// station of the same machine and name, whatever the unit.
std::vector<StationHealth> assessStations(const std::vector<StationTally>& tallies,
                                          const std::vector<ExpectedStation>& expected,
                                          const std::vector<StationRecords>& records, EpochSeconds now,
                                          const HealthThresholds& thresholds);

}  // namespace fenta21
