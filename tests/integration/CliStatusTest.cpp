// fenta21-cli status over both engines: the stations of the address book and of every
// collecting machine from the store's collections, worst first, with an exit status a
// monitoring system can act on; a home without a store is told how to make one.
#include "core/base/CalendarTime.h"
#include "core/collect/CollectResult.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/ReservationFile.h"
#include "core/store/RecordStore.h"
#include "core/store/StoreImporter.h"
#include "tests/support/Process.h"
#include "tests/support/StoreEngines.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
using nlohmann::json;

class CliStatus : public ::testing::TestWithParam<StoreEngineParam> {};

CollectionFinished attempt(const char* name, int station, int unit, int hour, int minute, int result) {
    CollectionFinished c;
    c.origin = CollectionOrigin::Reservation;
    c.station = station;
    c.stationName = name;
    c.unit = unit;
    c.started = {2026, 12, 8, hour, minute, 0};
    c.finished = addSeconds(c.started, 40);
    c.result = result;
    c.message = result == kNoModemAnswer ? linkErrorMessage(result) : collectResultMessage(result);
    return c;
}

TEST_P(CliStatus, ListsTheStationsThatNeedAVisitFirst) {
    TempHome scratch;
    const std::string home = scratch.path();
    auto cli = [&](std::vector<std::string> words) {
        words.insert(words.begin(), {FENTA21_CLI_PATH, "--home", home});
        return runProcess(words, {{"FENTA21_START_TIME", "2026-12-08T12:00:00"}}, scratch.root());
    };
    AddressBook book;
    book.store(0, {"河辺", "0311112222", "", "KAWABE", "", "modem"});
    book.store(1, {"山田", "0322223333_1_2", "", "YAMADA", "", "modem"});
    book.store(2, {"川口", "0333334444", "", "KAWAGUCHI", "", "modem"});
    saveAddressBook(scratch.file("adr.csv"), book);
    saveReservations(scratch.file("rsv.dat"), {{{0, 0, 30}, 0}, {{0, 0, 31}, 1}, {{0, 0, 32}, 2}});

    ProcessResult none = cli({"status"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_THAT(none.err, HasSubstr("fenta21-cli db init"));

    std::optional<std::string> location = storeLocationFor(GetParam());
    if (!location) GTEST_SKIP() << "no PostgreSQL server";
    ASSERT_EQ(cli({"db", "init", *location}).exitCode, 0);
    {
        std::unique_ptr<store::RecordStore> store = store::openHomeStore(home);
        const std::string here = store::machineName();
        for (const CollectionFinished& c :
             {attempt("河辺", 0, 0, 10, 30, kCollectOk), attempt("河辺", 0, 0, 11, 30, kCollectNothingNew),
              attempt("山田", 1, 1, 8, 31, kCollectOk), attempt("山田", 1, 1, 9, 31, kLinkFailed),
              attempt("山田", 1, 1, 10, 31, kCollectTransferFailed), attempt("山田", 1, 1, 11, 31, kNoModemAnswer),
              attempt("山田", 1, 2, 2, 31, kCollectOk)})
            store->recordCollection(c, here);
        // Collected by another machine of the network: only a shared store has it.
        store->recordCollection(attempt("北", 4, 0, 11, 0, kCollectOk), "pc-north");
    }

    ProcessResult text = cli({"status"});
    EXPECT_EQ(text.exitCode, 1) << text.err;
    EXPECT_THAT(text.out, ::testing::StartsWith("failing\t山田\t1\t"));
    EXPECT_THAT(text.out, HasSubstr("\t3\tモデム応答なし !!       \n"));

    ProcessResult listed = cli({"status", "--json"});
    EXPECT_EQ(listed.exitCode, 1) << listed.err;
    json stations = json::parse(listed.out)["stations"];
    std::vector<std::string> order;
    for (const json& station : stations)
        order.push_back(station["state"].get<std::string>() + " " + station["name"].get<std::string>() + "/" +
                        std::to_string(station["unit"].get<int>()) + " " + station["machine"].get<std::string>());
    const std::string here = store::machineName();
    EXPECT_EQ(order, (std::vector<std::string>{"failing 山田/1 " + here, "late 山田/2 " + here, "unknown 川口/0 " + here,
                                               "normal 北/0 pc-north", "normal 河辺/0 " + here}));
    const json& failing = stations[0];
    EXPECT_EQ(failing["consecutiveFailures"], 3);
    EXPECT_EQ(failing["lastAttempt"].get<std::string>().substr(0, 19), "2026-12-08T11:31:40");
    EXPECT_EQ(failing["lastSuccess"].get<std::string>().substr(0, 19), "2026-12-08T08:31:40");
    EXPECT_EQ(failing["attemptsLastDay"], 4);
    EXPECT_TRUE(stations[2]["lastSuccess"].is_null());

    // Thresholds of the settings: five failures, and ten hours of margin.
    ASSERT_EQ(cli({"config", "failing-after", "5"}).exitCode, 0);
    ASSERT_EQ(cli({"config", "late-margin", "600"}).exitCode, 0);
    ProcessResult relaxed = cli({"status"});
    EXPECT_EQ(relaxed.exitCode, 0) << relaxed.out;
}

INSTANTIATE_TEST_SUITE_P(Engines, CliStatus, FENTA21_STORE_ENGINES);

}  // namespace
}  // namespace fenta21::test
