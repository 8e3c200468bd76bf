// fenta21-cli status --json over an SQLite store holding a year of hourly collections of 100
// stations (876,000 rows, one in ten a failure), made here; and the health computation alone,
// without the program's start.
#include "core/health/HealthTime.h"
#include "core/health/StoreHealth.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"
#include "core/store/RecordStore.h"
#include "core/store/StoreSettings.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fcntl.h>
#include <ctime>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace fenta21;

constexpr int kStations = 100;
constexpr int kHours = 365 * 24;

void check(int code, sqlite3* db) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(db));
}

// The collections written straight into the store's table in one transaction: through the
// store one by one, a year would take minutes to make.
void fillCollections(const std::string& file, std::int64_t now) {
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO collections (machine, origin, station_index, station_name, station, unit, "
                             "port, started, finished, started_utc, finished_utc, result, message, data_file, "
                             "csv_file, bytes, blocks, retries, clear_sent, clear_answered) VALUES (?8, "
                             "'reservation', ?1, ?2, ?3, 0, 2, '', '', ?4, ?5, ?6, ?7, '', '', 0, 0, 0, 0, 0)",
                             -1, &insert, nullptr),
          db);
    const std::string machine = thisMachineName();  // the stations are this machine's own
    for (int hour = kHours; hour > 0; --hour) {
        for (int station = 0; station < kStations; ++station) {
            std::int64_t started = now - hour * 3600LL + station * 30;
            bool failed = (hour + station) % 10 == 0;
            std::string name = "局" + std::to_string(station);
            sqlite3_bind_int(insert, 1, station);
            sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, failed ? "" : name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 4, started);
            sqlite3_bind_int64(insert, 5, started + 25);
            sqlite3_bind_int(insert, 6, failed ? 7 : 1);
            sqlite3_bind_text(insert, 7, failed ? "モデム応答なし !!       " : "", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 8, machine.c_str(), -1, SQLITE_STATIC);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// A home whose address book names the 100 stations, each reserved once an hour, and whose
// store holds their year.
std::string benchRoot;  // removed when the bench ends

const std::string& benchHome() {
    static const std::string home = [] {
        char folder[] = "/tmp/fenta21-status-bench-XXXXXX";
        if (::mkdtemp(folder) == nullptr) throw std::runtime_error("no temporary folder");
        benchRoot = folder;
        std::string made = benchRoot + "/home";
        std::filesystem::create_directories(made);
        AddressBook book;
        std::vector<Reservation> reservations;
        for (int station = 0; station < kStations; ++station) {
            book.store(station, {"局" + std::to_string(station), "03" + std::to_string(10000000 + station), "", "", "", "modem"});
            reservations.push_back({{0, 0, station % 60}, station});
        }
        saveAddressBook(made + "/adr.csv", book);
        saveReservations(made + "/rsv.dat", reservations);
        store::openRecordStore(store::kDefaultStoreFile, made);
        std::string problem;
        if (!store::saveStoreLocation(made, store::kDefaultStoreFile, problem)) throw std::runtime_error(problem);
        fillCollections(made + "/" + store::kDefaultStoreFile, static_cast<std::int64_t>(std::time(nullptr)));
        return made;
    }();
    return home;
}

void StatusJson(benchmark::State& state) {
    const std::string& home = benchHome();
    std::vector<std::string> words{FENTA21_CLI_PATH, "--home", home, "status", "--json"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = -1;
        if (posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ) != 0) state.SkipWithError("cannot start");
        int status = 0;
        waitpid(pid, &status, 0);
        // 1: some stations failed their last attempt, as one in ten does.
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) state.SkipWithError("status failed");
    }
    posix_spawn_file_actions_destroy(&quiet);
}
BENCHMARK(StatusJson)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void StoreHealthAlone(benchmark::State& state) {
    const std::string& home = benchHome();
    std::unique_ptr<store::RecordStore> store = store::openHomeStore(home);
    for (auto _ : state) {
        auto health = storeHealth(*store, static_cast<EpochSeconds>(std::time(nullptr)), {}, {});
        benchmark::DoNotOptimize(health);
    }
}
BENCHMARK(StoreHealthAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!benchRoot.empty()) std::filesystem::remove_all(benchRoot);
    return 0;
}
