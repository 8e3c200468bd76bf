#pragma once

#include "core/base/CalendarTime.h"
#include "core/base/CsvFileResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace fenta21 {

// How a collection came to run.
enum class CollectionOrigin { Direct, Station, List, Reservation };

// One collection from one logger (one unit of a station with several), as a value: announced
// once the file is stored, "clear" answered and the CSV written, so whoever listens sees the
// finished work. A station's logger that could not be reached at all (line busy, no answer,
// unit not selected) is announced too, with that result and nothing stored.
struct CollectionFinished {
    CollectionOrigin origin = CollectionOrigin::Direct;
    int station = -1;  // the address-book index; -1 the direct line
    std::string stationName;
    int unit = 0;  // the unit behind a shared line, 0 for a line with one logger
    int port = 0;  // the COM port number the line was open on, 0 when none was
    CalendarTime started;
    CalendarTime finished;
    int result = 0;
    std::string message;   // what the user is told for the result, empty when nothing
    std::string dataFile;  // the file stored, empty when none was
    std::string csvFile;   // the CSV file written whole beside it, else empty
    // How the conversion ended, when the data file was one (a text listing is not converted).
    std::optional<CsvFileResult> conversion;
    long bytesReceived = 0;
    int blocksReceived = 0;
    int retries = 0;
    bool clearSent = false;
    bool clearAnswered = false;

    bool operator==(const CollectionFinished&) const = default;
};

enum class LineState : std::int16_t;

struct LineStateChanged {
    LineState from;
    LineState to;
};

struct ReservationStarted {
    int row = 0;      // the reservation's row in the table
    int station = 0;  // the address-book index it collects
    CalendarTime time;
};

struct ReservationFinished {
    int row = 0;
    int station = 0;
    int result = 0;
    CalendarTime time;
};

// The scheduler's worker started or ended: a reservation window colours its list meanwhile.
struct SchedulerRunningChanged {
    bool running = false;
};

// The scheduler read rsv.dat or adr.csv again after another program changed them.
struct SharedListsReread {};

// A line put on the reserved-collection notice.
struct NoticeAdded {
    std::string text;
};

using Event = std::variant<CollectionFinished, LineStateChanged, ReservationStarted, ReservationFinished, NoticeAdded,
                           SchedulerRunningChanged, SharedListsReread>;

}  // namespace fenta21
