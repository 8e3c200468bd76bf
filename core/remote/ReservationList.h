#pragma once

#include "core/stations/Reservation.h"

#include <vector>

namespace fenta21 {

class AddressBook;
class ReservationTable;
class Session;

enum class ReservationEdit {
    Done,      // rsv.dat and the table hold the new list
    Refused,   // no such row, a station without a name, a time outside the lists, a full list
    NotSaved,  // rsv.dat could not be written: reported, and neither file nor table changed
};

inline constexpr const char* kReservationsNotSavedText = "予約回収リストを保存できません!! ";

// The reservation window's list editing. Every change is written to the session's rsv.dat
// first and only then put into the table the scheduler scans, so the running schedule is
// always the one on disk. Rows are counted from 0, top to bottom, as the table holds them.
// rsv.dat is changed under the home's lock and merged with what another program stored in it
// since the table was read (mergeOrderedList): the table then holds both changes.
class ReservationList {
public:
    ReservationList(Session& session, const AddressBook& book, ReservationTable& table);

    std::vector<Reservation> rows() const;

    // Whether another reservation fits (kMostReservations).
    bool full() const;

    // "追加 ->": a reservation for a named station, at the end.
    ReservationEdit add(int station, const ReservationTime& time);
    // "挿入 ->": before `row`, which must exist; the station must have a name.
    ReservationEdit insertBefore(int row, int station, const ReservationTime& time);
    // "削除 <-".
    ReservationEdit remove(int row);
    // "全て削除".
    ReservationEdit clear();
    // The time dialog on a row: new time, same place in the list, same station.
    ReservationEdit editTime(int row, const ReservationTime& time);

private:
    ReservationEdit commit(const std::vector<Reservation>& base, const std::vector<Reservation>& rows);
    bool isRow(const std::vector<Reservation>& rows, int row) const;

    Session& session_;
    const AddressBook& book_;
    ReservationTable& table_;
};

}  // namespace fenta21
