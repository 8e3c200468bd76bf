#pragma once

#include "core/health/StationHealth.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// What a home remembers of the stations it collects, one line a station: the tally of its
// attempts, and the state its alerts last announced, so that a program started again (or
// another program on the same home) does not announce it again. Changed under the home's lock.
inline constexpr const char* kHealthLedgerFileName = "health.state";

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

}  // namespace fenta21
