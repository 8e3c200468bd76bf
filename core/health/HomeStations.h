#pragma once

#include "core/events/Events.h"
#include "core/health/StationHealth.h"
#include "core/stations/Reservation.h"

#include <string>
#include <vector>

namespace fenta21 {

class AddressBook;

// Every logger the address book names (each unit behind a shared line), as `machine`
// collects them, with the longest gap between the station's reserved collections.
std::vector<ExpectedStation> expectedStations(const AddressBook& book, const std::vector<Reservation>& reservations,
                                              const std::string& machine);

// A collection of an address-book station as an attempt of `machine`; nothing for one of the
// direct line, which names no station.
std::optional<CollectionAttempt> attemptOf(const CollectionFinished& collection, const std::string& machine);

}  // namespace fenta21
