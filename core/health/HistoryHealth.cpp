#include "core/health/HistoryHealth.h"

#include <algorithm>
#include <map>

namespace fenta21 {
namespace {

constexpr EpochSeconds kDay = 24 * 60 * 60;
constexpr EpochSeconds kFirstStretch = 2 * kDay;
constexpr EpochSeconds kWidening = 8;

// Every station read has had a contact, and every expected station was read, unless it is
// known that there is none to find.
bool everyContactFound(const std::vector<StationTally>& tallies, const std::vector<ExpectedStation>& expected,
                       const NeverReached& neverReached) {
    auto mayBeFound = [&](const StationKey& key) { return !neverReached || !neverReached(key); };
    std::map<StationKey, bool> contacted;
    for (const StationTally& tally : tallies) contacted[tally.key] = tally.lastSuccess.has_value();
    for (const auto& [key, found] : contacted)
        if (!found && mayBeFound(key)) return false;
    return std::all_of(expected.begin(), expected.end(), [&](const ExpectedStation& station) {
        return contacted.count(station.key) > 0 || !mayBeFound(station.key);
    });
}

}  // namespace

std::vector<StationHealth> healthFromHistory(const AttemptHistory& history, EpochSeconds now,
                                             const std::vector<ExpectedStation>& expected,
                                             const std::vector<StationRecords>& records,
                                             const HealthThresholds& thresholds, const NeverReached& neverReached) {
    std::vector<CollectionAttempt> attempts;
    for (EpochSeconds stretch = kFirstStretch;; stretch *= kWidening) {
        EpochSeconds since = std::max<EpochSeconds>(0, now - stretch);
        attempts = history(since);
        if (since == 0 || everyContactFound(tallyAttempts(attempts), expected, neverReached)) break;
    }
    std::vector<StationHealth> health = assessStations(tallyAttempts(attempts), expected, records, now, thresholds);
    std::map<StationKey, StationHealth*> byKey;
    for (StationHealth& station : health) byKey[station.key()] = &station;
    for (const CollectionAttempt& attempt : attempts)
        if (attempt.started >= now - kDay)
            if (auto found = byKey.find(attempt.key); found != byKey.end()) found->second->lastDay.push_back(attempt);
    return health;
}

}  // namespace fenta21
