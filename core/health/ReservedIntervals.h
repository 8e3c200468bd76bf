#pragma once

#include "core/health/CollectionAttempt.h"
#include "core/stations/Reservation.h"

#include <map>
#include <vector>

namespace fenta21 {

// How long each address-book station (by its place) may go without a reserved collection:
// the longest time between two of the minutes in which the scheduler collects it, counted
// round the end of the day (or of the year, when a reservation names a day of the month, so
// that every month length is met). A minute in which a row above names another station is
// not the station's: the scheduler runs only the first row due. A station that no valid row
// names has no entry.
std::map<int, EpochSeconds> longestReservedGaps(const std::vector<Reservation>& reservations);

}  // namespace fenta21
