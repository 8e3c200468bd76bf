#pragma once

#include "core/health/CollectionAttempt.h"

#include <optional>
#include <vector>

namespace fenta21 {

// What a station's collection attempts add up to, folded one attempt at a time, so that a
// program can keep it without keeping every attempt.
struct StationTally {
    StationKey key;
    long attempts = 0;
    long failures = 0;
    int consecutiveFailures = 0;  // failed attempts since the last contact
    std::optional<CollectionAttempt> lastAttempt;
    std::optional<EpochSeconds> lastSuccess;  // when the last contact ended

    bool operator==(const StationTally&) const = default;
};

// Adds an attempt that ended no earlier than those already added.
void addAttempt(StationTally& tally, const CollectionAttempt& attempt);

// The tallies of attempts given in any order, one per station, ordered by station.
std::vector<StationTally> tallyAttempts(std::vector<CollectionAttempt> attempts);

}  // namespace fenta21
