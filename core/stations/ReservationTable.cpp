#include "core/stations/ReservationTable.h"

#include <utility>

namespace fenta21 {

std::optional<DueReservation> findDueReservation(const std::vector<Reservation>& reservations, int day, int hour,
                                                 int minute) {
    for (std::size_t row = 0; row < reservations.size(); ++row) {
        const ReservationTime& time = reservations[row].time;
        if (!isValidReservationTime(time)) continue;  // kept in the list as read, never run
        int wantedDay = time.day == 0 ? day : time.day;
        int wantedHour = time.hourCode == 0 ? hour : time.hourCode - 1;
        if (wantedDay == day && wantedHour == hour && time.minute == minute) return DueReservation{row, reservations[row]};
    }
    return std::nullopt;
}

void ReservationTable::replace(std::vector<Reservation> reservations) {
    std::lock_guard lock(mutex_);
    reservations_ = std::move(reservations);
}

std::vector<Reservation> ReservationTable::snapshot() const {
    std::lock_guard lock(mutex_);
    return reservations_;
}

std::optional<DueReservation> ReservationTable::findDue(int day, int hour, int minute) const {
    std::lock_guard lock(mutex_);
    return findDueReservation(reservations_, day, hour, minute);
}

}  // namespace fenta21
