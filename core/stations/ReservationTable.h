#pragma once

#include "core/base/CalendarTime.h"
#include "core/stations/Reservation.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

namespace fenta21 {

// The reservation that is due in a sampled minute, and its row in the list (the window marks
// that row while the collection runs).
struct DueReservation {
    std::size_t row = 0;
    Reservation reservation;

    bool operator==(const DueReservation&) const = default;
};

// The scheduler's rule: a record wants its own day, or the sampled day when its day is 0;
// its hour code - 1, or the sampled hour when the code is 0; and its minute. The first
// record, top to bottom, whose wanted day, hour and minute equal the sample wins; the ones
// after it are not run in that minute.
std::optional<DueReservation> findDueReservation(const std::vector<Reservation>& reservations, int day, int hour,
                                                 int minute);

// The reservations the scheduler worker scans while the window may edit them: the table is
// replaced whole and scanned under one lock, so a scan never sees half an edit.
class ReservationTable {
public:
    void replace(std::vector<Reservation> reservations);
    std::vector<Reservation> snapshot() const;
    std::optional<DueReservation> findDue(int day, int hour, int minute) const;
    std::optional<DueReservation> findDue(const CalendarTime& sample) const {
        return findDue(sample.day, sample.hour, sample.minute);
    }

private:
    mutable std::mutex mutex_;
    std::vector<Reservation> reservations_;
};

}  // namespace fenta21
