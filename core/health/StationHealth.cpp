#include "core/health/StationHealth.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace fenta21 {
namespace {

constexpr std::array<const char*, 4> kStateNames{"failing", "late", "unknown", "normal"};
constexpr EpochSeconds kDay = 24 * 60 * 60;

using MachineAndName = std::pair<std::string, std::string>;

MachineAndName machineAndName(const StationKey& key) { return {key.machine, key.station}; }

bool worseFirst(const StationHealth& a, const StationHealth& b) {
    if (a.state != b.state) return a.state < b.state;
    // No contact at all sorts before the oldest contact.
    const auto& aSuccess = a.tally.lastSuccess;
    const auto& bSuccess = b.tally.lastSuccess;
    if (aSuccess != bSuccess) return !aSuccess || (bSuccess && *aSuccess < *bSuccess);
    return a.key() < b.key();
}

}  // namespace

const char* healthStateName(HealthState state) { return kStateNames[static_cast<std::size_t>(state)]; }

std::optional<HealthState> healthStateNamed(std::string_view name) {
    for (std::size_t i = 0; i < kStateNames.size(); ++i)
        if (name == kStateNames[i]) return static_cast<HealthState>(i);
    return std::nullopt;
}

HealthState stationState(const StationTally& tally, std::optional<EpochSeconds> interval, EpochSeconds now,
                         const HealthThresholds& thresholds) {
    if (tally.consecutiveFailures >= std::max(1, thresholds.failingAfter)) return HealthState::Failing;
    if (!tally.lastSuccess) return HealthState::Unknown;
    if (interval && now - *tally.lastSuccess > *interval + thresholds.lateMargin) return HealthState::Late;
    return HealthState::Normal;
}

std::vector<StationHealth> assessStations(const std::vector<StationTally>& tallies,
                                          const std::vector<ExpectedStation>& expected,
                                          const std::vector<StationRecords>& records, EpochSeconds now,
                                          const HealthThresholds& thresholds) {
    std::map<MachineAndName, std::optional<EpochSeconds>> intervals;
    for (const ExpectedStation& station : expected) intervals.emplace(machineAndName(station.key), station.interval);
    std::map<StationKey, const StationRecords*> recordsOf;
    for (const StationRecords& station : records) recordsOf[station.key] = &station;

    std::vector<StationTally> all = tallies;
    std::set<StationKey> tallied;
    for (const StationTally& tally : tallies) tallied.insert(tally.key);
    for (const ExpectedStation& station : expected)
        if (tallied.insert(station.key).second) all.emplace_back().key = station.key;

    std::vector<StationHealth> health;
    health.reserve(all.size());
    for (StationTally& tally : all) {
        StationHealth station;
        if (auto found = intervals.find(machineAndName(tally.key)); found != intervals.end())
            station.expectedInterval = found->second;
        if (auto found = recordsOf.find(tally.key); found != recordsOf.end()) {
            const StationRecords& stored = *found->second;
            station.newestRecord = stored.newestRecord;
            station.recordsLastDay = stored.lastDay;
            if (stored.recordInterval && *stored.recordInterval > 0)
                station.expectedRecordsLastDay = static_cast<long>(kDay / *stored.recordInterval);
        }
        station.state = stationState(tally, station.expectedInterval, now, thresholds);
        station.tally = std::move(tally);
        health.push_back(std::move(station));
    }
    std::sort(health.begin(), health.end(), worseFirst);
    return health;
}

}  // namespace fenta21
