#pragma once

#include "core/health/HistoryHealth.h"
#include "core/health/StationHealth.h"

#include <vector>

namespace fenta21 {

namespace store {
class RecordStore;
}

// The health of every station whose collections a record store holds (with PostgreSQL, those
// of every collecting machine), and of the expected ones, worst first: each with its attempts
// of the last 24 hours, the newest record of its data files and the records of the last 24
// hours against what its recording interval makes. `neverReached` spares reading the whole
// history back for a station known never to have answered. Throws the store's StoreError.
std::vector<StationHealth> storeHealth(store::RecordStore& store, EpochSeconds now,
                                       const std::vector<ExpectedStation>& expected,
                                       const HealthThresholds& thresholds, const NeverReached& neverReached = {});

}  // namespace fenta21
