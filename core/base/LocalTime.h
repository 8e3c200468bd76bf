#pragma once

#include "core/base/CalendarTime.h"

namespace fenta21 {

// The instant (seconds since the epoch) of a reading of this computer's own clock, in the
// zone the system is set to, its daylight saving rule for that day included.
long long localTimeToEpoch(const CalendarTime& local);

}  // namespace fenta21
