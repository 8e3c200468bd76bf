#pragma once

#include "core/store/SqlLink.h"

namespace fenta21::store {

// The schema version this program makes and reads (core/store/SCHEMA.md describes it).
inline constexpr int kSchemaVersion = 1;

// The version a store is at, making its tables or bringing them up to kSchemaVersion first:
// inside one transaction under the schema's lock, so that several programs opening a new store
// at once make it once. A store of a newer version is refused with StoreError.
int prepareStoreSchema(SqlLink& link);

// The key under which a transaction writes a station's rows (SqlLink::lockKey); the schema has
// a key of its own, below every station's.
std::int64_t stationLockKey(std::int64_t stationId);

}  // namespace fenta21::store
