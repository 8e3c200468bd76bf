#pragma once

#include "core/health/HistoryHealth.h"
#include "core/health/StationHealth.h"

#include <string>
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

// The health of the stations of a home folder's store and address book, with the home's
// reservations, thresholds and ledger, as status and the station overview show it; and what in
// the home's health settings could not be used.
struct HomeHealth {
    std::vector<StationHealth> stations;
    std::vector<std::string> problems;
};
HomeHealth storeHealthOfHome(store::RecordStore& store, const std::string& homeFolder, EpochSeconds now);

}  // namespace fenta21
