#include "core/remote/ReservationList.h"

#include "core/session/Session.h"
#include "core/base/HomeFileEdit.h"
#include "core/base/ThreeWayMerge.h"
#include "core/report/Report.h"
#include "core/stations/AddressBook.h"
#include "core/remote/ReservationFile.h"
#include "core/stations/ReservationTable.h"

namespace fenta21 {

ReservationList::ReservationList(Session& session, const AddressBook& book, ReservationTable& table)
    : session_(session), book_(book), table_(table) {}

std::vector<Reservation> ReservationList::rows() const { return table_.snapshot(); }

bool ReservationList::isRow(const std::vector<Reservation>& rows, int row) const {
    return row >= 0 && row < static_cast<int>(rows.size());
}

namespace {

bool takesAnother(const std::vector<Reservation>& rows) { return rows.size() < kMostReservations; }

}  // namespace

bool ReservationList::full() const { return !takesAnother(table_.snapshot()); }

ReservationEdit ReservationList::commit(const std::vector<Reservation>& base, const std::vector<Reservation>& rows) {
    std::vector<Reservation> merged;
    auto merge = [&](const FileOnDisk& now) -> std::optional<std::string> {
        auto theirs = now ? std::optional(parseReservations(*now)) : std::nullopt;
        std::optional<std::vector<Reservation>> rowsToStore = mergeWithListFile(base, rows, theirs, kMostReservations);
        if (!rowsToStore) return std::nullopt;
        merged = std::move(*rowsToStore);
        return formatReservations(merged);
    };
    if (!editHomeFile(session_.homeFile(kReservationFileName), kReservationFileBytes, merge,
                      [&] { table_.replace(merged); })
             .written()) {
        report(session_, kReservationsNotSavedText);
        return ReservationEdit::NotSaved;
    }
    return ReservationEdit::Done;
}

ReservationEdit ReservationList::add(int station, const ReservationTime& time) {
    std::vector<Reservation> base = table_.snapshot();
    if (!book_.hasName(station) || !isValidReservationTime(time) || !takesAnother(base))
        return ReservationEdit::Refused;
    std::vector<Reservation> rows = base;
    rows.push_back({time, station});
    return commit(base, rows);
}

ReservationEdit ReservationList::insertBefore(int row, int station, const ReservationTime& time) {
    std::vector<Reservation> base = table_.snapshot();
    if (!isRow(base, row) || !book_.hasName(station) || !isValidReservationTime(time) || !takesAnother(base))
        return ReservationEdit::Refused;
    std::vector<Reservation> rows = base;
    rows.insert(rows.begin() + row, Reservation{time, station});
    return commit(base, rows);
}

ReservationEdit ReservationList::remove(int row) {
    std::vector<Reservation> base = table_.snapshot();
    if (!isRow(base, row)) return ReservationEdit::Refused;
    std::vector<Reservation> rows = base;
    rows.erase(rows.begin() + row);
    return commit(base, rows);
}

ReservationEdit ReservationList::clear() { return commit(table_.snapshot(), {}); }

ReservationEdit ReservationList::editTime(int row, const ReservationTime& time) {
    std::vector<Reservation> base = table_.snapshot();
    if (!isRow(base, row) || !isValidReservationTime(time)) return ReservationEdit::Refused;
    std::vector<Reservation> rows = base;
    rows[row].time = time;
    return commit(base, rows);
}

}  // namespace fenta21
