// The record store's work, written once for both engines over their SqlLink.
#include "core/base/Files.h"
#include "core/store/DataFileRecords.h"
#include "core/store/RecordStore.h"
#include "core/store/SqlLink.h"
#include "core/store/StationFromFile.h"
#include "core/store/StoreSchema.h"
#include "core/store/StoreSettings.h"
#include "core/store/StoreTime.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace fenta21::store {
namespace {

// What a text range of logger readings must reach beyond a UTC range: a logger's unchecked
// day field may run up to three days past a month's end ("02-31" is March the 3rd).
constexpr std::int64_t kDayOverrun = 3 * 86400;
constexpr std::int64_t kFirstReading = 946684800;  // 2000-01-01, before any logger's first
constexpr std::int64_t kLastReading = 4102444800;  // 2100-01-01, after any logger's last

const char* originWord(CollectionOrigin origin) {
    switch (origin) {
    case CollectionOrigin::Direct: return "direct";
    case CollectionOrigin::Station: return "station";
    case CollectionOrigin::List: return "list";
    case CollectionOrigin::Reservation: return "reservation";
    }
    return "direct";
}

std::string loggerReadingAt(std::int64_t seconds) { return readingText(calendarFromSeconds(seconds)); }

class SqlRecordStore : public RecordStore {
public:
    explicit SqlRecordStore(std::unique_ptr<SqlLink> link) : link_(std::move(link)) {}

    StoreEngine engine() const override { return link_->engine(); }
    std::string location() const override { return link_->location(); }

    int prepareSchema() override { return prepareStoreSchema(*link_); }

    void setUtcOffset(int minutes) override {
        link_->change(
            "INSERT INTO store_settings (name, value) VALUES ('utc_offset', $1) "
            "ON CONFLICT (name) DO UPDATE SET value = excluded.value",
            {utcOffsetText(minutes)});
    }

    ImportCounts importFile(const std::string& path, const ImportOptions& options) override {
        DataFileRecords file(path);
        ImportCounts known;
        known.alreadyKnown = true;
        if (isKnown(file.sha256())) return known;
        std::optional<CurrentModel> model;
        if (options.identifyModel) model = options.identifyModel(file.modelCode());
        if (!model) throw UnreadableFile(path + ": type.dat has no line for the model \"" + file.modelCode() + "\"");
        file.useModel(*model);
        const std::string station = options.station.empty() ? stationFromFileName(path) : options.station;
        const std::vector<SeriesLabel> labels = file.series();

        WriteTransaction transaction(*link_);
        auto [stationId, offsetMinutes] = takeStation(station, model->code, options.utcOffsetMinutes.value_or(storeOffset()));
        // Imports of one station wait for each other from here on; then the file may have come
        // in through another machine meanwhile.
        link_->lockKey(stationLockKey(stationId));
        if (isKnown(file.sha256())) return known;
        std::int64_t fileId = 0;
        link_->query(
            "INSERT INTO files (sha256, size, path, station_id, model, imported_utc, machine, inserted, duplicates, "
            "conflicts, skipped) VALUES ($1, $2, $3, $4, $5, $6, $7, 0, 0, 0, 0) RETURNING id",
            {file.sha256(), static_cast<std::int64_t>(file.size()), path, stationId, model->code,
             static_cast<std::int64_t>(std::time(nullptr)), options.machine},
            [&](const SqlRow& row) {
                fileId = row.integer(0);
                return false;
            });
        std::map<SeriesKey, std::int64_t> seriesIds;
        for (const SeriesLabel& label : labels) seriesIds[label.key] = takeSeries(stationId, label);

        const std::int64_t offsetSeconds = offsetMinutes * 60LL;
        std::int64_t skipped = 0;
        RecordSource rows = [&](const std::function<void(const RecordInsert&)>& take) {
            auto last = seriesIds.end();
            skipped = file.forEachRecord([&](const StoreRecord& record) {
                if (last == seriesIds.end() || last->first != record.series) last = seriesIds.find(record.series);
                take({last->second, record.loggerTime, record.loggerSeconds - offsetSeconds, record.number, record.text});
            });
        };
        ImportCounts counts = link_->writeRecords(rows, fileId);
        counts.skipped = skipped;
        link_->change("UPDATE files SET inserted = $1, duplicates = $2, conflicts = $3, skipped = $4 WHERE id = $5",
                      {counts.inserted, counts.duplicates, counts.conflicts, counts.skipped, fileId});
        transaction.commit();
        return counts;
    }

    void recordCollection(const CollectionFinished& c, const std::string& machine, const std::string& eventId) override {
        SqlParam id = eventId.empty() ? SqlParam() : SqlParam(eventId);
        std::string station = c.dataFile.empty() ? std::string() : stationFromFileName(c.dataFile);
        link_->change(
            "INSERT INTO collections (event_id, machine, origin, station_index, station_name, station, unit, port, "
            "started, finished, started_utc, finished_utc, result, message, data_file, csv_file, bytes, blocks, "
            "retries, clear_sent, clear_answered) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, "
            "$14, $15, $16, $17, $18, $19, $20, $21) ON CONFLICT DO NOTHING",
            {id, machine, std::string(originWord(c.origin)), std::int64_t{c.station}, c.stationName, station,
             std::int64_t{c.unit}, std::int64_t{c.port}, readingText(c.started), readingText(c.finished),
             localReadingToUtc(c.started), localReadingToUtc(c.finished), std::int64_t{c.result}, c.message,
             c.dataFile, c.csvFile, std::int64_t{c.bytesReceived}, std::int64_t{c.blocksReceived},
             std::int64_t{c.retries}, std::int64_t{c.clearSent ? 1 : 0}, std::int64_t{c.clearAnswered ? 1 : 0}});
    }

    std::vector<StationRow> stations() override {
        std::vector<StationRow> stations;
        link_->query(
            "SELECT st.id, st.name, st.model, st.utc_offset_minutes, "
            "(SELECT count(*) FROM series s WHERE s.station_id = st.id) FROM stations st ORDER BY st.name",
            {}, [&](const SqlRow& row) {
                StationRow station;
                station.id = row.integer(0);
                station.name = row.text(1);
                station.model = row.text(2);
                station.utcOffsetMinutes = static_cast<int>(row.integer(3));
                station.series = row.integer(4);
                stations.push_back(std::move(station));
                return true;
            });
        link_->query(
            "SELECT s.station_id, count(*), min(r.utc), max(r.utc) FROM records r JOIN series s ON s.id = r.series_id "
            "GROUP BY s.station_id",
            {}, [&](const SqlRow& row) {
                for (StationRow& station : stations) {
                    if (station.id != row.integer(0)) continue;
                    station.records = row.integer(1);
                    station.firstUtc = row.optionalInteger(2);
                    station.lastUtc = row.optionalInteger(3);
                }
                return true;
            });
        return stations;
    }

    std::vector<SeriesRow> series(const std::string& station) override {
        std::vector<SeriesRow> series;
        link_->query(
            "SELECT s.id, st.name, s.channel, s.kind, s.name, s.unit, s.value_type, "
            "(SELECT count(*) FROM records r WHERE r.series_id = s.id) "
            "FROM series s JOIN stations st ON st.id = s.station_id WHERE st.name = $1 ORDER BY s.channel, s.kind",
            {station}, [&](const SqlRow& row) {
                series.push_back({row.integer(0), row.text(1), static_cast<int>(row.integer(2)),
                                  static_cast<int>(row.integer(3)), row.text(4), row.text(5), row.text(6), row.integer(7)});
                return true;
            });
        return series;
    }

    void readRecords(std::int64_t seriesId, std::int64_t fromUtc, std::int64_t toUtc,
                     const std::function<bool(const RecordRow& row)>& take) override {
        int offsetMinutes = 0;
        link_->query(
            "SELECT st.utc_offset_minutes FROM series s JOIN stations st ON st.id = s.station_id WHERE s.id = $1",
            {seriesId}, [&](const SqlRow& row) {
                offsetMinutes = static_cast<int>(row.integer(0));
                return false;
            });
        // The key's order is the logger's readings: the UTC range as readings, and then exactly.
        const std::int64_t offset = offsetMinutes * 60LL;
        auto reading = [&](std::int64_t utc, std::int64_t overrun) {
            return loggerReadingAt(std::clamp(utc, kFirstReading, kLastReading) + offset + overrun);
        };
        std::string from = reading(fromUtc, -kDayOverrun);
        std::string to = reading(toUtc, kDayOverrun);
        RecordRow record;
        link_->query(
            "SELECT logger_time, utc, number, text FROM records WHERE series_id = $1 AND logger_time >= $2 "
            "AND logger_time <= $3 AND utc >= $4 AND utc <= $5 ORDER BY logger_time",
            {seriesId, from, to, fromUtc, toUtc}, [&](const SqlRow& row) {
                record.loggerTime = row.text(0);
                record.utc = row.integer(1);
                record.number = row.isNull(2) ? std::nullopt : std::optional(row.real(2));
                record.text = row.text(3);
                return take(record);
            });
    }

    std::vector<CollectionRow> collections(std::int64_t sinceUtc) override {
        std::vector<CollectionRow> collections;
        link_->query(
            "SELECT machine, origin, station_index, station_name, station, unit, port, started, finished, "
            "started_utc, finished_utc, result, message, data_file, csv_file, bytes, blocks, retries, clear_sent, "
            "clear_answered FROM collections WHERE started_utc >= $1 ORDER BY started_utc, id",
            {sinceUtc}, [&](const SqlRow& row) {
                CollectionRow c;
                c.machine = row.text(0);
                c.origin = row.text(1);
                c.stationIndex = static_cast<int>(row.integer(2));
                c.stationName = row.text(3);
                c.station = row.text(4);
                c.unit = static_cast<int>(row.integer(5));
                c.port = static_cast<int>(row.integer(6));
                c.started = row.text(7);
                c.finished = row.text(8);
                c.startedUtc = row.integer(9);
                c.finishedUtc = row.integer(10);
                c.result = static_cast<int>(row.integer(11));
                c.message = row.text(12);
                c.dataFile = row.text(13);
                c.csvFile = row.text(14);
                c.bytes = row.integer(15);
                c.blocks = static_cast<int>(row.integer(16));
                c.retries = static_cast<int>(row.integer(17));
                c.clearSent = row.integer(18) != 0;
                c.clearAnswered = row.integer(19) != 0;
                collections.push_back(std::move(c));
                return true;
            });
        return collections;
    }

    StoreStatus status() override {
        StoreStatus status;
        status.engine = engine();
        status.location = location();
        status.utcOffsetMinutes = storeOffset();
        link_->query(
            "SELECT (SELECT max(version) FROM schema_version), (SELECT count(*) FROM stations), "
            "(SELECT count(*) FROM series), (SELECT count(*) FROM conflicts), (SELECT count(*) FROM files), "
            "(SELECT count(*) FROM collections)",
            {}, [&](const SqlRow& row) {
                status.schemaVersion = static_cast<int>(row.integer(0));
                status.stations = row.integer(1);
                status.series = row.integer(2);
                status.conflicts = row.integer(3);
                status.files = row.integer(4);
                status.collections = row.integer(5);
                return false;
            });
        link_->query("SELECT count(*), min(utc), max(utc) FROM records", {}, [&](const SqlRow& row) {
            status.records = row.integer(0);
            status.firstUtc = row.optionalInteger(1);
            status.lastUtc = row.optionalInteger(2);
            return false;
        });
        return status;
    }

private:
    bool isKnown(const std::string& sha256) {
        bool known = false;
        link_->query("SELECT 1 FROM files WHERE sha256 = $1", {sha256}, [&](const SqlRow&) {
            known = true;
            return false;
        });
        return known;
    }

    int storeOffset() {
        int minutes = kDefaultUtcOffsetMinutes;
        link_->query("SELECT value FROM store_settings WHERE name = 'utc_offset'", {}, [&](const SqlRow& row) {
            minutes = parseUtcOffset(row.text(0)).value_or(kDefaultUtcOffsetMinutes);
            return false;
        });
        return minutes;
    }

    // The station's id and offset, made with `offsetMinutes` when the store does not know it.
    std::pair<std::int64_t, int> takeStation(const std::string& name, const std::string& model, int offsetMinutes) {
        std::pair<std::int64_t, int> station{0, offsetMinutes};
        link_->query(
            "INSERT INTO stations (name, model, utc_offset_minutes) VALUES ($1, $2, $3) "
            "ON CONFLICT (name) DO UPDATE SET model = excluded.model RETURNING id, utc_offset_minutes",
            {name, model, std::int64_t{offsetMinutes}}, [&](const SqlRow& row) {
                station = {row.integer(0), static_cast<int>(row.integer(1))};
                return false;
            });
        return station;
    }

    std::int64_t takeSeries(std::int64_t stationId, const SeriesLabel& label) {
        std::int64_t id = 0;
        link_->query(
            "INSERT INTO series (station_id, channel, kind, name, unit, value_type) VALUES ($1, $2, $3, $4, $5, $6) "
            "ON CONFLICT (station_id, channel, kind) DO UPDATE SET name = excluded.name, unit = excluded.unit, "
            "value_type = excluded.value_type RETURNING id",
            {stationId, std::int64_t{label.key.channel}, std::int64_t{label.key.kind}, label.name, label.unit,
             label.valueType},
            [&](const SqlRow& row) {
                id = row.integer(0);
                return false;
            });
        return id;
    }

    std::unique_ptr<SqlLink> link_;
};

}  // namespace

std::unique_ptr<RecordStore> openRecordStore(const std::string& location, const std::string& homeFolder) {
    std::unique_ptr<SqlLink> link;
    if (isPostgresLocation(location)) link = openPostgresLink(location);
    else link = openSqliteLink(!location.empty() && location.front() == '/' ? location : joinPath(homeFolder, location));
    auto store = std::make_unique<SqlRecordStore>(std::move(link));
    store->prepareSchema();
    return store;
}

std::unique_ptr<RecordStore> openHomeStore(const std::string& homeFolder) {
    std::optional<std::string> location = storeLocation(homeFolder);
    if (!location) return nullptr;
    return openRecordStore(*location, homeFolder);
}

}  // namespace fenta21::store
