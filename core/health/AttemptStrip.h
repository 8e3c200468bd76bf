#pragma once

#include "core/health/CollectionAttempt.h"

#include <vector>

namespace fenta21 {

// How an attempt shows on a station's 24-hour strip.
enum class StripMark { Collected, NothingNew, Failed };

struct StripEntry {
    double position = 0;  // 0 is 24 hours before now, 1 is now
    StripMark mark = StripMark::Failed;

    bool operator==(const StripEntry&) const = default;
};

// The attempts that started in the 24 hours before now, placed along the day by their start.
std::vector<StripEntry> attemptStrip(const std::vector<CollectionAttempt>& attempts, EpochSeconds now);

}  // namespace fenta21
