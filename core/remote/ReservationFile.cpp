#include "core/remote/ReservationFile.h"

#include "core/base/Bytes.h"
#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"
#include "core/stations/ReservationTable.h"
#include "core/stations/Station.h"

namespace fenta21 {

std::vector<Reservation> parseReservations(std::string_view bytes) {
    std::vector<Reservation> reservations;
    for (std::size_t at = 0; at + kReservationRecordBytes <= bytes.size(); at += kReservationRecordBytes) {
        Reservation reservation{{readInt32LE(bytes, at), readInt32LE(bytes, at + 4), readInt32LE(bytes, at + 8)},
                                readInt32LE(bytes, at + 12)};
        // A time out of range is kept as it is (it never matches); a record naming no station
        // of the address book cannot be shown or run and is left out.
        if (isStationIndex(reservation.station)) reservations.push_back(reservation);
    }
    return reservations;
}

std::string formatReservations(const std::vector<Reservation>& reservations) {
    std::string bytes;
    for (const Reservation& reservation : reservations) {
        appendInt32LE(bytes, reservation.time.day);
        appendInt32LE(bytes, reservation.time.hourCode);
        appendInt32LE(bytes, reservation.time.minute);
        appendInt32LE(bytes, reservation.station);
    }
    return bytes;
}

std::vector<Reservation> loadReservations(const std::string& path) {
    auto bytes = readRegularFilePrefix(path, kReservationFileBytes).bytes;
    return bytes ? parseReservations(*bytes) : std::vector<Reservation>{};
}

void loadReservations(const std::string& path, ReservationTable& table) { table.replace(loadReservations(path)); }

bool rereadReservations(const std::string& path, ReservationTable& table) {
    bool read = false;
    readHomeFile(path, kReservationFileBytes, [&](const FileOnDisk& now) {
        if (now) table.replace(parseReservations(*now));
        read = now.has_value();
    });
    return read;
}

bool saveReservations(const std::string& path, const std::vector<Reservation>& reservations) {
    return writeFileAtomically(path, formatReservations(reservations));
}

}  // namespace fenta21
