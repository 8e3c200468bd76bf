// fenta21-cli stations, station, list and schedule as programs against the simulated modem.
#include "core/session/SystemSettings.h"
#include "core/base/Bytes.h"
#include "core/base/Cp932.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class CliStation : public ::testing::Test {
protected:
    CliStation() {
        for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
            fs::copy_file(entry.path(), home.file(entry.path().filename().string()));
        fs::create_directory(home.root() + "/data");
        link = home.root() + "/ttyMODEM";
        home.write("comports.txt", "COM2 " + link + "\n");
        SystemSettings settings;
        settings.modemPortIndex = 1;
        settings.modemSpeedIndex = 5;
        saveSettings(home.file("system.dat"), settings);
        AddressBook book;
        book.store(0, {"河辺", "0311112222", "一号局", "KAWABE", "", "modem"});
        book.store(2, {"山田", "0322223333_1_2", "", "YAMADA", "", "modem"});
        saveAddressBook(home.file("adr.csv"), book);
        modem = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{FENTA21_SIM_PATH, "--link", link, "--station", "0311112222:1:KAWABE-01",
                                     "--station", "0322223333:2:YAMADA"},
            home.root() + "/sim.log");
        EXPECT_TRUE(BackgroundProcess::waitForPath(link));
    }
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, env, home.root());
    }
    std::vector<std::string> dataFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(home.root() + "/data"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempHome home;
    std::string link;
    std::unique_ptr<BackgroundProcess> modem;
    std::map<std::string, std::string> env{{"FENTA21_TIME_SCALE", "0.02"}};
};

TEST_F(CliStation, StationsListsTheNamedEntries) {
    auto result = cli({"stations"});
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "001\t河辺\t0311112222\t一号局\tKAWABE\t\tmodem\n003\t山田\t0322223333_1_2\t\tYAMADA\t\tmodem\n");
}

TEST_F(CliStation, StationCollectsThroughTheModemAndThenHasNothingNew) {
    auto first = cli({"station", "1"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    ASSERT_EQ(dataFiles().size(), 2u);  // the data file and its CSV
    EXPECT_THAT(first.out, testing::MatchesRegex(".*/data/KAWABE_[0-9]{6}_[0-9]{4}\\.v38\n"
                                                 ".*/data/KAWABE_[0-9]{6}_[0-9]{4}\\.csv\n"));
    EXPECT_EQ(cli({"station", "1"}).exitCode, 4);
    EXPECT_EQ(cli({"station", "2"}).exitCode, 1);    // an empty entry
    EXPECT_EQ(cli({"station", "101"}).exitCode, 2);

    auto units = cli({"station", "3"});
    EXPECT_EQ(units.exitCode, 0) << units.err;
    EXPECT_THAT(units.out, HasSubstr("YAMADA1_"));
    EXPECT_THAT(units.out, HasSubstr("YAMADA2_"));
}

TEST_F(CliStation, ListCollectsAnyDatInOrder) {
    std::string list;
    for (int station : {2, 0, 5}) appendInt32LE(list, station);
    home.write("any.dat", list);
    auto result = cli({"list"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("-- 003 山田"));
    EXPECT_EQ(dataFiles().size(), 6u);  // two units and one station, each with its CSV
}

TEST_F(CliStation, JsonResultsNameTheStationsAndEachStoredFile) {
    nlohmann::json stations = nlohmann::json::parse(cli({"stations", "--json"}).out);
    EXPECT_EQ(stations["addressBook"], home.file("adr.csv"));
    ASSERT_EQ(stations["stations"].size(), 2u);
    EXPECT_EQ(stations["stations"][1], (nlohmann::json{{"number", 3}, {"name", "山田"}, {"telephone", "0322223333_1_2"},
                                                       {"remark", ""}, {"fileName", "YAMADA"}, {"folder", ""},
                                                       {"method", "modem"}}));

    // One station with two units: a data file for each, with its CSV beside it.
    ProcessResult units = cli({"station", "--json", "3"});
    ASSERT_EQ(units.exitCode, 0) << units.err;
    nlohmann::json station = nlohmann::json::parse(units.out);
    EXPECT_EQ(station["station"], 3);
    EXPECT_EQ(station["result"], 1);
    ASSERT_EQ(station["files"].size(), 2u);
    for (const auto& file : station["files"]) {
        EXPECT_TRUE(fs::exists(std::string(file["path"])));
        EXPECT_TRUE(fs::exists(std::string(file["csv"])));
        EXPECT_GT(file["records"], 0);
    }

    // An empty row has no result; the other its station's result, files and messages.
    std::string list;
    for (int place : {1, 0}) appendInt32LE(list, place);
    home.write("any.dat", list);
    ProcessResult run = cli({"list", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json rows = nlohmann::json::parse(run.out)["rows"];
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0]["result"].is_null());
    EXPECT_TRUE(rows[0]["files"].empty());
    EXPECT_EQ(rows[1]["station"], 1);
    EXPECT_EQ(rows[1]["result"], 1);
    ASSERT_EQ(rows[1]["files"].size(), 1u);
    EXPECT_THAT(std::string(rows[1]["files"][0]["path"]), HasSubstr("/data/KAWABE_"));
}

TEST_F(CliStation, ScheduleCollectsAtTheReservedMinuteAndEndsOnSigterm) {
    saveReservations(home.file("rsv.dat"), {{{0, 0, 30}, 0}});
    std::map<std::string, std::string> scheduleEnv = env;
    scheduleEnv["FENTA21_START_TIME"] = "2026-12-08T10:29:55";
    BackgroundProcess schedule({FENTA21_CLI_PATH, "--home", home.path(), "schedule"}, home.root() + "/schedule.log",
                               scheduleEnv);
    for (int i = 0; i < 600 && !fs::exists(home.file("RSV.LOG")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(schedule.stop(), 0);
    std::string log = cp932ToUtf8(home.read("RSV.LOG"));
    EXPECT_THAT(log, HasSubstr("2026/12/08 10:30:"));
    EXPECT_THAT(log, HasSubstr("[001 河辺] 正常終了")) << schedule.output();
    EXPECT_THAT(schedule.output(), HasSubstr("KAWABE_261208_1030.v38"));
}

}  // namespace
}  // namespace fenta21::test
