#include "core/remote/ReservationList.h"

#include "core/app/Session.h"
#include "core/collect/Report.h"
#include "core/remote/AddressBook.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationTable.h"

namespace fenta21 {

ReservationList::ReservationList(Session& session, const AddressBook& book, ReservationTable& table)
    : session_(session), book_(book), table_(table) {}

std::vector<Reservation> ReservationList::rows() const { return table_.snapshot(); }

bool ReservationList::isRow(const std::vector<Reservation>& rows, int row) const {
    return row >= 0 && row < static_cast<int>(rows.size());
}

ReservationEdit ReservationList::commit(std::vector<Reservation> rows) {
    if (!saveReservations(session_.homeFile(kReservationFileName), rows)) {
        report(session_, kReservationsNotSavedText);
        return ReservationEdit::NotSaved;
    }
    table_.replace(std::move(rows));
    return ReservationEdit::Done;
}

ReservationEdit ReservationList::add(int station, const ReservationTime& time) {
    if (!book_.hasName(station) || !isValidReservationTime(time)) return ReservationEdit::Refused;
    std::vector<Reservation> rows = table_.snapshot();
    rows.push_back({time, station});
    return commit(std::move(rows));
}

ReservationEdit ReservationList::insertBefore(int row, int station, const ReservationTime& time) {
    std::vector<Reservation> rows = table_.snapshot();
    if (!isRow(rows, row) || !book_.hasName(station) || !isValidReservationTime(time)) return ReservationEdit::Refused;
    rows.insert(rows.begin() + row, Reservation{time, station});
    return commit(std::move(rows));
}

ReservationEdit ReservationList::remove(int row) {
    std::vector<Reservation> rows = table_.snapshot();
    if (!isRow(rows, row)) return ReservationEdit::Refused;
    rows.erase(rows.begin() + row);
    return commit(std::move(rows));
}

ReservationEdit ReservationList::clear() { return commit({}); }

ReservationEdit ReservationList::editTime(int row, const ReservationTime& time) {
    std::vector<Reservation> rows = table_.snapshot();
    if (!isRow(rows, row) || !isValidReservationTime(time)) return ReservationEdit::Refused;
    rows[row].time = time;
    return commit(std::move(rows));
}

}  // namespace fenta21
