#include "core/health/StationTally.h"

#include <algorithm>

namespace fenta21 {

void addAttempt(StationTally& tally, const CollectionAttempt& attempt) {
    tally.key = attempt.key;
    ++tally.attempts;
    if (attempt.contacted) {
        tally.consecutiveFailures = 0;
        tally.lastSuccess = attempt.ended;
    } else {
        ++tally.failures;
        ++tally.consecutiveFailures;
    }
    tally.lastAttempt = attempt;
}

std::vector<StationTally> tallyAttempts(std::vector<CollectionAttempt> attempts) {
    std::stable_sort(attempts.begin(), attempts.end(), [](const CollectionAttempt& a, const CollectionAttempt& b) {
        if (a.key != b.key) return a.key < b.key;
        return a.ended < b.ended;
    });
    std::vector<StationTally> tallies;
    for (const CollectionAttempt& attempt : attempts) {
        if (tallies.empty() || tallies.back().key != attempt.key) tallies.emplace_back();
        addAttempt(tallies.back(), attempt);
    }
    return tallies;
}

}  // namespace fenta21
