#include "core/remote/Reservation.h"

#include "core/remote/Station.h"

namespace fenta21 {

bool isValidReservation(const Reservation& reservation) {
    return isValidReservationTime(reservation.time) && isStationIndex(reservation.station);
}

}  // namespace fenta21
