// How fast the record store takes a full logger memory (the 2 million records of the CSV
// benchmark's file), beside the CSV conversion of the same file and beside the engine's own
// bulk insert of the same rows with nothing else to do: a prepared INSERT in one transaction
// for SQLite, a COPY for PostgreSQL, into a table of the same columns and key. Also a second
// import of the same file, and the program's peak memory during an import of a quarter of the
// file and of the whole (it should not grow with the file).
//
// The PostgreSQL figures need a server: the one the tests start for themselves (initdb and
// pg_ctl from Debian's postgresql package, in a temporary folder); without it they are skipped.
#include "bench/BenchSupport.h"
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/CsvConversion.h"
#include "core/store/DataFileRecords.h"
#include "core/store/RecordStore.h"
#include "tests/support/PostgresServer.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <charconv>
#include <malloc.h>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {

using namespace fenta21;
namespace fs = std::filesystem;

enum class Engine { Sqlite, Postgres };

std::string newFolder() {
    std::string folder = (fs::temp_directory_path() / "fenta21-store-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) throw std::runtime_error("no temporary folder");
    return folder;
}

// Folders made during the run, removed at its end.
struct Scratch {
    std::vector<std::string> folders;
    ~Scratch() {
        std::error_code ec;
        for (const std::string& folder : folders) fs::remove_all(folder, ec);
    }
    std::string make() { return folders.emplace_back(newFolder()); }
} scratch;

// The data file of `instants` instants of the eight strain channels, written once.
const std::string& dataFile(int instants) {
    static std::map<int, std::string> files;
    std::string& path = files[instants];
    if (path.empty()) {
        path = scratch.make() + "/STRAIN_260401_0000.v38";
        writeFileAtomically(path, sim::buildDataImage(bench::strainRecipe(instants)));
    }
    return path;
}

// A new empty store of the engine: an SQLite file in a folder of its own, or a new database on
// the tests' PostgreSQL server. Empty when there is none.
std::string newStoreLocation(Engine engine) {
    if (engine == Engine::Sqlite) return scratch.make() + "/records.sqlite";
    bool skipped = false;
    std::string problem;
    test::PostgresServer* server = test::PostgresServer::shared(skipped, problem);
    return server != nullptr ? server->newDatabaseUrl() : std::string();
}

// Each measurement starts from a server that has written out what came before, so that one
// does not pay for the last one's checkpoint.
void settle(const std::string& location) {
    if (location.rfind("postgresql:", 0) != 0) return;
    PGconn* connection = PQconnectdb(location.c_str());
    PQclear(PQexec(connection, "CHECKPOINT"));
    PQfinish(connection);
}

store::ImportOptions importOptions() {
    store::ImportOptions options;
    options.identifyModel = identifyThrough(bench::installedModels());
    options.machine = "bench";
    return options;
}

// The program's peak resident memory is counted afresh from here.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double peakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

void BM_CsvConversion(benchmark::State& state) {
    const std::string& path = dataFile(static_cast<int>(state.range(0)));
    bench::SilentHost host;
    CFilCnv converter(bench::installedModels(), host, [&](const std::string& text) { state.SkipWithError(text.c_str()); });
    for (auto _ : state) benchmark::DoNotOptimize(converter.convertFile(path).outcome);
    state.SetItemsProcessed(state.iterations() * state.range(0) * 8);
}

void BM_Import(benchmark::State& state, Engine engine) {
    const std::string& path = dataFile(static_cast<int>(state.range(0)));
    store::ImportOptions options = importOptions();
    for (auto _ : state) {
        state.PauseTiming();
        std::string location = newStoreLocation(engine);
        if (location.empty()) {
            state.SkipWithError("no PostgreSQL server");
            break;
        }
        auto opened = store::openRecordStore(location, "/");
        settle(location);
        resetPeakMemory();
        state.ResumeTiming();
        store::ImportCounts counts = opened->importFile(path, options);
        state.PauseTiming();
        state.counters["peak_MiB"] = peakMemoryMiB();
        if (counts.inserted != state.range(0) * 8) state.SkipWithError("not every record was inserted");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 8);
}

void BM_SecondImport(benchmark::State& state, Engine engine) {
    const std::string& path = dataFile(static_cast<int>(state.range(0)));
    store::ImportOptions options = importOptions();
    std::string location = newStoreLocation(engine);
    if (location.empty()) {
        state.SkipWithError("no PostgreSQL server");
        return;
    }
    auto opened = store::openRecordStore(location, "/");
    opened->importFile(path, options);
    for (auto _ : state)
        if (!opened->importFile(path, options).alreadyKnown) state.SkipWithError("the file was not known");
}

// The rows an import writes, made beforehand, for the engines' bare bulk inserts.
struct BareRow {
    std::int64_t series;
    std::string time;
    std::int64_t utc;
    double number;
    std::string text;
};
std::vector<BareRow> bareRows(int instants) {
    store::DataFileRecords file(dataFile(instants));
    CurrentModel model;
    bench::installedModels().identifyModel(file.modelCode(), &model);
    file.useModel(model);
    std::vector<BareRow> rows;
    file.forEachRecord([&](const store::StoreRecord& r) {
        rows.push_back({r.series.channel + 1, std::string(r.loggerTime), r.loggerSeconds - 9 * 3600, r.number,
                        std::string(r.text)});
    });
    return rows;
}

// The rows given back to the system, so that the imports measured next do not count them in
// their peak memory.
void releaseRows(std::vector<BareRow>& rows) {
    std::vector<BareRow>().swap(rows);
    malloc_trim(0);
}

constexpr const char* kBareTable =
    "CREATE TABLE bare_records (series_id BIGINT NOT NULL, logger_time {key} NOT NULL, utc BIGINT NOT NULL, "
    "number {real}, text TEXT NOT NULL, PRIMARY KEY (series_id, logger_time))";

void BM_BareSqliteInsert(benchmark::State& state) {
    std::vector<BareRow> rows = bareRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string path = newStoreLocation(Engine::Sqlite);
        store::openRecordStore(path, "/");  // the same file settings (WAL, synced commits) as the store's
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        std::string table = kBareTable;
        table.replace(table.find("{key}"), 5, "TEXT").replace(table.find("{real}"), 6, "REAL");
        sqlite3_exec(db, (table + " WITHOUT ROWID").c_str(), nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO bare_records VALUES (?, ?, ?, ?, ?)", -1, &insert, nullptr);
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const BareRow& row : rows) {
            sqlite3_bind_int64(insert, 1, row.series);
            sqlite3_bind_text(insert, 2, row.time.data(), static_cast<int>(row.time.size()), SQLITE_STATIC);
            sqlite3_bind_int64(insert, 3, row.utc);
            sqlite3_bind_double(insert, 4, row.number);
            sqlite3_bind_text(insert, 5, row.text.data(), static_cast<int>(row.text.size()), SQLITE_STATIC);
            if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_finalize(insert);
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
    releaseRows(rows);
}

void BM_BarePostgresCopy(benchmark::State& state) {
    std::vector<BareRow> rows = bareRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string url = newStoreLocation(Engine::Postgres);
        if (url.empty()) {
            state.SkipWithError("no PostgreSQL server");
            break;
        }
        PGconn* connection = PQconnectdb(url.c_str());
        std::string table = kBareTable;
        table.replace(table.find("{key}"), 5, "text COLLATE \"C\"").replace(table.find("{real}"), 6, "double precision");
        PQclear(PQexec(connection, table.c_str()));
        settle(url);
        state.ResumeTiming();
        PQclear(PQexec(connection, "BEGIN"));
        PQclear(PQexec(connection, "COPY bare_records FROM STDIN"));
        std::string buffer;
        char digits[32];
        for (const BareRow& row : rows) {
            buffer += std::to_string(row.series) + '\t' + row.time + '\t' + std::to_string(row.utc) + '\t';
            buffer.append(digits, std::to_chars(digits, digits + sizeof digits, row.number).ptr);
            buffer += '\t' + row.text + '\n';
            if (buffer.size() >= 1 << 16) {
                PQputCopyData(connection, buffer.data(), static_cast<int>(buffer.size()));
                buffer.clear();
            }
        }
        PQputCopyData(connection, buffer.data(), static_cast<int>(buffer.size()));
        PQputCopyEnd(connection, nullptr);
        while (PGresult* result = PQgetResult(connection)) {
            if (PQresultStatus(result) != PGRES_COMMAND_OK) state.SkipWithError(PQresultErrorMessage(result));
            PQclear(result);
        }
        PQclear(PQexec(connection, "COMMIT"));
        state.PauseTiming();
        PQfinish(connection);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
    releaseRows(rows);
}

constexpr int kWhole = 250000;   // instants of eight records: 2 million
constexpr int kQuarter = 62500;  // 500000 records, for the peak memory beside the whole

}  // namespace

// Each engine's bare insert, then the store's import of the same rows.
BENCHMARK(BM_CsvConversion)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareSqliteInsert)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Import, sqlite, Engine::Sqlite)->Arg(kQuarter)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SecondImport, sqlite, Engine::Sqlite)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BarePostgresCopy)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Import, postgresql, Engine::Postgres)->Arg(kQuarter)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SecondImport, postgresql, Engine::Postgres)->Arg(kWhole)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
