#pragma once

#include "core/events/Events.h"
#include "core/protocol/ModelRegistry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fenta21::store {

// The record store keeps every collected record, one row per value, in SQLite (a file in the
// home folder) or PostgreSQL (one database for many stations and several collecting
// machines). Both engines hold the same tables (see core/store/SCHEMA.md) and answer through
// this one interface.
//
// A store object is used by one thread at a time; a thread that needs the store opens its own.
// Every call that the store cannot do throws StoreError; the importer queues the file then.

enum class StoreEngine { Sqlite, Postgres };

// The store could not be reached, read or written. The text is the engine's own, with any
// password taken out.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file given to importFile cannot be read as a data file (missing, too short, a model the
// model table does not know). Importing it again would fail the same way, so it is not queued.
class UnreadableFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What importing one data file (or several, added up) did. Every record of the file's record
// area is counted once, in exactly one of the four.
struct ImportCounts {
    std::int64_t inserted = 0;    // rows the store did not have
    std::int64_t duplicates = 0;  // the store had the row's key with the same value
    std::int64_t conflicts = 0;   // the store had the key with another value (a clock set back):
                                  // the row is kept in the conflicts table, the stored one stays
    std::int64_t skipped = 0;     // records the CSV converter leaves out or asks about
    // A file with the same content (SHA-256) was imported before: nothing was read or counted.
    bool alreadyKnown = false;

    ImportCounts& operator+=(const ImportCounts& other);
    bool operator==(const ImportCounts&) const = default;
};

struct ImportOptions {
    // The station the records belong to; empty takes it from the file's name, the part before
    // "_YYMMDD_HHMM", so that a file collected on another machine lands in the same station.
    std::string station;
    // The UTC offset of a station the store does not know yet; nothing takes the store's own.
    // A known station keeps its offset.
    std::optional<int> utcOffsetMinutes;
    // Who imports, as the files table names it.
    std::string machine;
    // The model of a model code, with its kind table (identifyThrough(registry) gives one);
    // nothing when the code is unknown.
    std::function<std::optional<CurrentModel>(const std::string& modelCode)> identifyModel;
};

// A station: the name its files carry, the model of its last file, its fixed offset from UTC.
struct StationRow {
    std::int64_t id = 0;
    std::string name;
    std::string model;
    int utcOffsetMinutes = 0;
    std::int64_t series = 0;
    std::int64_t records = 0;
    std::optional<std::int64_t> firstUtc;  // the first and last record, in seconds since 1970 UTC
    std::optional<std::int64_t> lastUtc;
};

// One measured quantity of a station: a channel and a kind (the kind its CSV column stands
// for, so that a level recorded at several resolutions is one series).
struct SeriesRow {
    std::int64_t id = 0;
    std::string station;
    int channel = 0;
    int kind = 0;
    std::string name;       // from the kind table, UTF-8
    std::string unit;       // from the kind table, UTF-8
    std::string valueType;  // "number", "direction" (1-18) or "time" (seconds of the day)
    std::int64_t records = 0;
};

struct RecordRow {
    std::string loggerTime;  // "YYYY-MM-DD HH:MM:SS", the logger's own clock as recorded
    std::int64_t utc = 0;    // seconds since 1970 UTC, from the station's offset
    std::optional<double> number;
    std::string text;  // exactly as the CSV converter writes the value
};

// One finished collection, as the event told it and the machine that collected.
struct CollectionRow {
    std::string machine;
    std::string origin;  // "direct", "station", "list" or "reservation"
    int stationIndex = -1;  // the address-book index; -1 the direct line
    std::string stationName;  // the address-book name, empty on the direct line
    std::string station;      // the station its data file belongs to, empty when none was stored
    int unit = 0;
    int port = 0;
    std::string started;  // "YYYY-MM-DD HH:MM:SS", the collecting machine's local time
    std::string finished;
    std::int64_t startedUtc = 0;
    std::int64_t finishedUtc = 0;
    int result = 0;
    std::string message;
    std::string dataFile;
    std::string csvFile;
    std::int64_t bytes = 0;
    int blocks = 0;
    int retries = 0;
    bool clearSent = false;
    bool clearAnswered = false;
};

struct StoreStatus {
    StoreEngine engine = StoreEngine::Sqlite;
    std::string location;  // the file, or the URL without its password
    int schemaVersion = 0;
    int utcOffsetMinutes = 0;  // given to new stations
    std::int64_t stations = 0;
    std::int64_t series = 0;
    std::int64_t records = 0;
    std::int64_t conflicts = 0;
    std::int64_t files = 0;
    std::int64_t collections = 0;
    std::optional<std::int64_t> firstUtc;
    std::optional<std::int64_t> lastUtc;
};

class RecordStore {
public:
    virtual ~RecordStore() = default;

    virtual StoreEngine engine() const = 0;
    // The file, or the URL without its password: fit for a terminal or a log.
    virtual std::string location() const = 0;

    // Makes the tables, or brings an older store's up to this program's schema version. Opening
    // a store does so already; several programs may do it at the same time. A store made by a
    // newer program is refused (StoreError).
    virtual int prepareSchema() = 0;
    // The offset given to stations the store does not know yet; +09:00 until set.
    virtual void setUtcOffset(int minutes) = 0;

    // Imports one data file: skipped at once when its content is known; otherwise every
    // record becomes a row of its station's series, counted as inserted, duplicate, conflict
    // or skipped, all in one transaction with the file's own row. Throws UnreadableFile for a
    // file that is no data file it can read, StoreError when the store fails (nothing of the
    // file is kept then).
    virtual ImportCounts importFile(const std::string& path, const ImportOptions& options) = 0;
    // Keeps a finished collection, whatever its result. `eventId` names this announcement of it:
    // keeping it again under the same id changes nothing (empty: always a new row).
    virtual void recordCollection(const CollectionFinished& collection, const std::string& machine,
                                  const std::string& eventId = {}) = 0;

    virtual std::vector<StationRow> stations() = 0;
    // The series of a station by its name; none for a station the store does not know.
    virtual std::vector<SeriesRow> series(const std::string& station) = 0;
    // The rows of a series from fromUtc up to and including toUtc, in time order, handed to
    // `row` one by one (false from it stops the reading).
    virtual void readRecords(std::int64_t seriesId, std::int64_t fromUtc, std::int64_t toUtc,
                             const std::function<bool(const RecordRow& row)>& row) = 0;
    std::vector<RecordRow> records(std::int64_t seriesId, std::int64_t fromUtc, std::int64_t toUtc);
    // The collections that started at or after sinceUtc, oldest first.
    virtual std::vector<CollectionRow> collections(std::int64_t sinceUtc) = 0;
    virtual StoreStatus status() = 0;
};

// Opens the store a location names, preparing its schema: a "postgresql://" (or
// "postgres://") URL, whose parts libpq's environment, service file and ~/.pgpass may fill in;
// anything else is an SQLite file, relative to `homeFolder` unless absolute. Throws StoreError.
std::unique_ptr<RecordStore> openRecordStore(const std::string& location, const std::string& homeFolder);

// The store a home folder is set up with (see StoreSettings.h), or null when it has none.
std::unique_ptr<RecordStore> openHomeStore(const std::string& homeFolder);

}  // namespace fenta21::store
