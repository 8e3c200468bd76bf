#pragma once

#include "core/base/CalendarTime.h"
#include "core/health/CollectionAttempt.h"

#include <string>

namespace fenta21 {

// A wall-clock reading of this machine (the program's clock) as seconds since the epoch, in
// the machine's time zone.
EpochSeconds epochOfLocalTime(const CalendarTime& local);

// The time in this machine's zone as ISO 8601 with its offset: "2026-12-08T10:31:00+09:00".
std::string isoLocalTime(EpochSeconds time);

// The name of this computer, as the health of the stations it collects is kept under.
std::string thisMachineName();

}  // namespace fenta21
