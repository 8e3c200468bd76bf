#include "core/store/StoreSchema.h"

#include "core/store/StoreTime.h"

#include <string>

namespace fenta21::store {
namespace {

constexpr std::int64_t kSchemaLockKey = 0x46454e5441000001;  // "FENTA" and 1
constexpr std::int64_t kStationLockBase = 0x46454e5442000000;

// Version 1, in both engines' words. The records table, by far the largest, refers to its
// series without a foreign key: the program writes a file's series before its rows in the same
// transaction, and a key checked row by row would more than double what a bulk import costs
// on PostgreSQL. In both engines' words: {id} an identity key, {real} a real number, {key} a text
// compared byte by byte, {bool} a truth value, {keyed} a table organised by its key.
constexpr const char* kVersion1 = R"SQL(
CREATE TABLE store_settings (
  name TEXT PRIMARY KEY,
  value TEXT NOT NULL);
CREATE TABLE stations (
  id {id},
  name TEXT NOT NULL UNIQUE,
  model TEXT NOT NULL,
  utc_offset_minutes INTEGER NOT NULL);
CREATE TABLE series (
  id {id},
  station_id BIGINT NOT NULL REFERENCES stations (id),
  channel INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  name TEXT NOT NULL,
  unit TEXT NOT NULL,
  value_type TEXT NOT NULL,
  UNIQUE (station_id, channel, kind));
CREATE TABLE records (
  series_id BIGINT NOT NULL,
  logger_time {key} NOT NULL,
  utc BIGINT NOT NULL,
  number {real},
  text TEXT NOT NULL,
  PRIMARY KEY (series_id, logger_time)){keyed};
CREATE TABLE files (
  id {id},
  sha256 TEXT NOT NULL UNIQUE,
  size BIGINT NOT NULL,
  path TEXT NOT NULL,
  station_id BIGINT NOT NULL REFERENCES stations (id),
  model TEXT NOT NULL,
  imported_utc BIGINT NOT NULL,
  machine TEXT NOT NULL,
  inserted BIGINT NOT NULL,
  duplicates BIGINT NOT NULL,
  conflicts BIGINT NOT NULL,
  skipped BIGINT NOT NULL);
CREATE TABLE conflicts (
  series_id BIGINT NOT NULL REFERENCES series (id),
  logger_time {key} NOT NULL,
  utc BIGINT NOT NULL,
  number {real},
  text TEXT NOT NULL,
  file_id BIGINT NOT NULL REFERENCES files (id),
  PRIMARY KEY (series_id, logger_time, text));
CREATE TABLE collections (
  id {id},
  event_id TEXT UNIQUE,
  machine TEXT NOT NULL,
  origin TEXT NOT NULL,
  station_index INTEGER NOT NULL,
  station_name TEXT NOT NULL,
  station TEXT NOT NULL,
  unit INTEGER NOT NULL,
  port INTEGER NOT NULL,
  started TEXT NOT NULL,
  finished TEXT NOT NULL,
  started_utc BIGINT NOT NULL,
  finished_utc BIGINT NOT NULL,
  result INTEGER NOT NULL,
  message TEXT NOT NULL,
  data_file TEXT NOT NULL,
  csv_file TEXT NOT NULL,
  bytes BIGINT NOT NULL,
  blocks INTEGER NOT NULL,
  retries INTEGER NOT NULL,
  clear_sent {bool} NOT NULL,
  clear_answered {bool} NOT NULL);
CREATE INDEX collections_by_start ON collections (started_utc);
)SQL";

std::string inDialect(std::string sql, const SqlLink::Dialect& dialect) {
    const std::pair<const char*, const char*> words[] = {{"{id}", dialect.identity},
                                                         {"{real}", dialect.real},
                                                         {"{key}", dialect.keyText},
                                                         {"{bool}", dialect.boolean},
                                                         {"{keyed}", dialect.keyedTable}};
    for (const auto& [word, meaning] : words)
        for (std::size_t at = sql.find(word); at != std::string::npos; at = sql.find(word, at))
            sql.replace(at, std::string(word).size(), meaning);
    return sql;
}

// The version recorded, 0 for a store without the table; nothing when it cannot be read.
int storedVersion(SqlLink& link) {
    int version = 0;
    link.query("SELECT max(version) FROM schema_version", {}, [&](const SqlRow& row) {
        version = row.isNull(0) ? 0 : static_cast<int>(row.integer(0));
        return false;
    });
    return version;
}

void refuseNewer(SqlLink& link, int version) {
    if (version > kSchemaVersion)
        throw StoreError("the record store " + link.location() + " has schema version " + std::to_string(version) +
                         ", newer than this program's " + std::to_string(kSchemaVersion) + ": update the program");
}

}  // namespace

int prepareStoreSchema(SqlLink& link) {
    // Opening a store that is up to date writes nothing, so it never waits for an import.
    try {
        int version = storedVersion(link);
        refuseNewer(link, version);
        if (version == kSchemaVersion) return version;
    } catch (const StoreError&) {
        // No schema_version table yet: made below.
    }
    WriteTransaction transaction(link);
    link.lockKey(kSchemaLockKey);
    link.execute("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
    int version = storedVersion(link);
    refuseNewer(link, version);
    if (version < 1) {
        link.execute(inDialect(kVersion1, link.dialect()));
        link.change("INSERT INTO store_settings (name, value) VALUES ('utc_offset', $1)",
                    {utcOffsetText(kDefaultUtcOffsetMinutes)});
    }
    // Later versions add their steps here, each from the one before.
    if (version < kSchemaVersion) {
        link.execute("DELETE FROM schema_version");
        link.change("INSERT INTO schema_version (version) VALUES ($1)", {std::int64_t{kSchemaVersion}});
    }
    transaction.commit();
    return kSchemaVersion;
}

std::int64_t stationLockKey(std::int64_t stationId) { return kStationLockBase + stationId; }

}  // namespace fenta21::store
