#pragma once

#include "core/health/StationHealth.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// What a home remembers of the stations it collects, one line a station: the tally of its
// attempts, and the state its alerts last announced, so that a program started again (or
// another program on the same home) does not announce it again. Changed under the home's lock.
inline constexpr const char* kHealthLedgerFileName = "health.state";
// A hundred stations with a few units each take a few tens of kilobytes.
inline constexpr std::size_t kHealthLedgerBytes = 4 * 1024 * 1024;

struct LedgerEntry {
    StationTally tally;
    HealthState announced = HealthState::Unknown;

    bool operator==(const LedgerEntry&) const = default;
};

struct HealthLedger {
    std::vector<LedgerEntry> entries;
    // Lines this program could not read, written back as they were: a damaged line, or one
    // of a later version, is never lost through this program.
    std::vector<std::string> unreadLines;

    // The station's entry, added when it has none; or only found.
    LedgerEntry& entry(const StationKey& key);
    LedgerEntry* find(const StationKey& key);
    std::vector<StationTally> tallies() const;
};

// The ledger's text; its stations are this home's, kept under `machine`.
HealthLedger parseHealthLedger(std::string_view text, const std::string& machine);
std::string formatHealthLedger(const HealthLedger& ledger);
// The home's ledger as it is now (empty when there is none or it cannot be read).
HealthLedger loadHealthLedger(const std::string& homeFolder, const std::string& machine);

// A station of `machine` that this home's programs have never reached: none of them has a
// contact with it in the ledger.
bool neverReachedHere(const HealthLedger& ledger, const std::string& machine, const StationKey& key);

}  // namespace fenta21
