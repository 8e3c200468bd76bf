#pragma once

#include "core/stations/Reservation.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

class ReservationTable;

// rsv.dat: the reservations in list order, each four 32-bit little-endian integers (day,
// hour code, minute, station), 16 bytes, no header and no terminator.
inline constexpr const char* kReservationFileName = "rsv.dat";
inline constexpr std::size_t kReservationRecordBytes = 16;
// The most reservations the list takes (a hundred for each of the hundred stations); a file
// is read up to that many records and the list refuses more.
inline constexpr std::size_t kMostReservations = 10000;
inline constexpr std::size_t kReservationFileBytes = kMostReservations * kReservationRecordBytes;

// Every complete record in order. A record with any field out of range (day 0-31, hour code
// 0-24, minute 0-59, station 0-99) is left out: such a record could never run, and a
// station outside the book would be read beyond it. A trailing partial record is ignored.
std::vector<Reservation> parseReservations(std::string_view bytes);
std::string formatReservations(const std::vector<Reservation>& reservations);

// A missing file gives no reservations; records past kMostReservations are not read.
std::vector<Reservation> loadReservations(const std::string& path);
// Start-up: fills the table from rsv.dat.
void loadReservations(const std::string& path, ReservationTable& table);
// The table as another program may have left rsv.dat, read under the home's lock; a missing
// file leaves the table as it is. False when there was no file to read.
bool rereadReservations(const std::string& path, ReservationTable& table);
// Written beside the old file and renamed over it; false when it could not be written.
bool saveReservations(const std::string& path, const std::vector<Reservation>& reservations);

}  // namespace fenta21
