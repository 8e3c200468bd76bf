#pragma once

#include "tests/support/PostgresServer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace fenta21::test {

// The engines the record store's tests run against, each test once per engine.
enum class StoreEngineParam { Sqlite, Postgres };

inline std::string engineName(const ::testing::TestParamInfo<StoreEngineParam>& info) {
    return info.param == StoreEngineParam::Sqlite ? "Sqlite" : "Postgres";
}

// Where a test's store is: an SQLite file in the home (relative to it), or a new database on
// the test program's PostgreSQL server; nothing when that server cannot be had (the test is
// failed for it, or skipped with FENTA21_NO_POSTGRES=1).
inline std::optional<std::string> storeLocationFor(StoreEngineParam engine) {
    if (engine == StoreEngineParam::Sqlite) return std::string("records.sqlite");
    return postgresDatabase();
}

#define FENTA21_STORE_ENGINES                                                                             \
    ::testing::Values(::fenta21::test::StoreEngineParam::Sqlite, ::fenta21::test::StoreEngineParam::Postgres), \
        ::fenta21::test::engineName

}  // namespace fenta21::test
