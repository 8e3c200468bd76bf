#pragma once

#include "core/health/StationHealth.h"

#include <functional>
#include <vector>

namespace fenta21 {

// The attempts that started at or after a time, oldest first: a store's collection history.
using AttemptHistory = std::function<std::vector<CollectionAttempt>(EpochSeconds since)>;

// Whether a station is known never to have been reached (so no reading back finds a contact).
using NeverReached = std::function<bool(const StationKey& key)>;

// The health of every station of a collection history, and of the expected ones, worst first,
// each with its attempts of the last 24 hours. The history is read back only as far as it takes
// to find each station's last contact (two days, then eight times as far each time, at last
// all of it), so that a year of history costs a year's reading only while a station has not
// been reached for that long; a station known never to have been reached is not looked for.
// Its tallies count the attempts of the stretch read.
std::vector<StationHealth> healthFromHistory(const AttemptHistory& history, EpochSeconds now,
                                             const std::vector<ExpectedStation>& expected,
                                             const std::vector<StationRecords>& records,
                                             const HealthThresholds& thresholds, const NeverReached& neverReached = {});

}  // namespace fenta21
