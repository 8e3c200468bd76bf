// fenta21-cli db against both engines: a home set up, a station's folder of files imported
// with a broken file among them, a station's records exported in its own offset, the store
// looked over, a password never shown; and two processes importing overlapping files into one
// PostgreSQL database at the same time, which neither duplicate nor lose a row.
#include "core/base/Files.h"
#include "core/store/StoreSettings.h"
#include "sim/image/DataImage.h"
#include "tests/support/Process.h"
#include "tests/support/StoreEngines.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using nlohmann::json;

std::string windImage(int fromInstant, int instants) {
    sim::ImageRecipe recipe;
    recipe.firstInstant = addSeconds(CalendarTime{2026, 4, 1, 0, 0, 0}, fromInstant * 600LL);
    recipe.instants = instants;
    recipe.channels = {{0, 20, 50 + fromInstant, 1, 0}, {1, 5, -20 + fromInstant, 1, 0}};
    return sim::buildDataImage(recipe);
}

ProcessResult cli(const std::string& home, std::vector<std::string> words) {
    words.insert(words.begin(), {FENTA21_CLI_PATH, "--home", home});
    return runProcess(words, {}, fs::path(home).parent_path().string());
}

class CliDb : public ::testing::TestWithParam<StoreEngineParam> {};

TEST_P(CliDb, SetsUpImportsExportsAndShowsTheStore) {
    TempHome scratch;
    const std::string home = scratch.root() + "/station/home";
    ASSERT_EQ(runProcess({FENTA21_CLI_PATH, "init", home}, {}, scratch.root()).exitCode, 0);
    std::optional<std::string> location = storeLocationFor(GetParam());
    if (!location) GTEST_SKIP() << "no PostgreSQL server";
    if (GetParam() == StoreEngineParam::Postgres) {
        // A password the server never asks for (it trusts the socket) must still never show.
        std::string url = "postgresql://fenta21:N0tShown@/" + location->substr(location->find("///") + 3);
        ProcessResult init = cli(home, {"db", "init", url, "--utc-offset", "+09:00", "--json"});
        ASSERT_EQ(init.exitCode, 0) << init.err;
        EXPECT_EQ(json::parse(init.out)["engine"], "postgresql");
        EXPECT_EQ(store::storeLocation(home), url);
    }
    const std::string data = scratch.root() + "/station/data";
    fs::create_directories(data + "/2026/04");
    writeFileAtomically(data + "/KAWABE_260401_0130.v38", windImage(0, 10));
    writeFileAtomically(data + "/2026/04/KAWABE_260401_0230.v38", windImage(0, 16));
    writeFileAtomically(data + "/2026/04/OTHER_260401_0230.V38", windImage(3, 2));
    writeFileAtomically(data + "/2026/04/KAWABE_260401_0231.v38", "too short to be a data file");
    writeFileAtomically(data + "/2026/04/notes.txt", "not a data file, passed over");

    ProcessResult imported = cli(home, {"db", "import", data});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_THAT(imported.err, HasSubstr("[4/4] " + data + "/KAWABE_260401_0130.v38\n"));
    EXPECT_THAT(imported.err, HasSubstr("KAWABE_260401_0231.v38: the file is too short to hold its header"));
    EXPECT_THAT(imported.out, HasSubstr(data + "/2026/04/KAWABE_260401_0230.v38: 32 inserted, 0 duplicates, 0 conflicts, 0 skipped\n"));
    EXPECT_THAT(imported.out, HasSubstr(data + "/KAWABE_260401_0130.v38: 0 inserted, 20 duplicates, 0 conflicts, 0 skipped\n"));
    EXPECT_THAT(imported.out, HasSubstr("total: 36 inserted, 20 duplicates, 0 conflicts, 0 skipped in 4 files (0 already in "
                                        "the store, 1 not imported)\n"));
    ProcessResult again = cli(home, {"db", "import", "--json", "--station", "ELSEWHERE", data + "/KAWABE_260401_0130.v38"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    json againJson = json::parse(again.out);
    EXPECT_EQ(againJson["files"][0]["alreadyKnown"], true);
    EXPECT_EQ(againJson["total"]["inserted"], 0);

    ProcessResult csv = cli(home, {"db", "export", "--station", "KAWABE", "--from", "2026-04-01T00:30", "--to",
                                   "2026-03-31T16:00:00Z"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out,
              "time,channel,kind,name,unit,number,text\n"
              "2026-04-01T00:30:00+09:00,0,20,\"平均風速\",\"m/s\",5.3,\"    5.3\"\n"
              "2026-04-01T00:40:00+09:00,0,20,\"平均風速\",\"m/s\",5.4,\"    5.4\"\n"
              "2026-04-01T00:50:00+09:00,0,20,\"平均風速\",\"m/s\",5.5,\"    5.5\"\n"
              "2026-04-01T01:00:00+09:00,0,20,\"平均風速\",\"m/s\",5.6,\"    5.6\"\n"
              "2026-04-01T00:30:00+09:00,1,5,\"気温\",\"ﾟC \",-1.7,\"-0001.7\"\n"
              "2026-04-01T00:40:00+09:00,1,5,\"気温\",\"ﾟC \",-1.6,\"-0001.6\"\n"
              "2026-04-01T00:50:00+09:00,1,5,\"気温\",\"ﾟC \",-1.5,\"-0001.5\"\n"
              "2026-04-01T01:00:00+09:00,1,5,\"気温\",\"ﾟC \",-1.4,\"-0001.4\"\n");
    ProcessResult asJson = cli(home, {"db", "export", "--station", "KAWABE", "--format", "json", "--to", "2026-04-01"});
    ASSERT_EQ(asJson.exitCode, 0) << asJson.err;
    json exported = json::parse(asJson.out);
    EXPECT_EQ(exported["records"], 32);
    EXPECT_EQ(exported["series"][1]["records"][15]["time"], "2026-04-01T02:30:00+09:00");
    EXPECT_EQ(exported["exitStatus"], 0);
    EXPECT_EQ(cli(home, {"db", "export", "--station", "NOWHERE"}).exitCode, 1);
    EXPECT_EQ(cli(home, {"db", "export", "--station", "KAWABE", "--from", "yesterday", "--json"}).exitCode, 2);

    ProcessResult status = cli(home, {"db", "status", "--json"});
    ASSERT_EQ(status.exitCode, 0) << status.err;
    json shown = json::parse(status.out);
    EXPECT_EQ(shown["records"], 36);
    EXPECT_EQ(shown["files"], 3);
    ASSERT_EQ(shown["stations"].size(), 2u);
    EXPECT_EQ(shown["stations"][0]["name"], "KAWABE");
    EXPECT_EQ(shown["stations"][0]["first"], "2026-04-01T00:00:00+09:00");
    EXPECT_EQ(shown["stations"][0]["last"], "2026-04-01T02:30:00+09:00");
    EXPECT_EQ(shown["queued"], json::array());
    for (const ProcessResult& said : {status, cli(home, {"db", "status"}), cli(home, {"config", "--json"})}) {
        EXPECT_THAT(said.out + said.err, Not(HasSubstr("N0tShown")));
        EXPECT_THAT(said.out, HasSubstr(GetParam() == StoreEngineParam::Postgres ? "fenta21:***@" : "records.sqlite"));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, CliDb, FENTA21_STORE_ENGINES);

TEST(CliDbPostgres, TwoProcessesImportingOverlappingFilesAtOnceNeitherDuplicateNorLoseARow) {
    TempHome scratch;
    std::optional<std::string> url = postgresDatabase();
    if (!url) GTEST_SKIP() << "no PostgreSQL server";
    // Each machine collected the station's growing memory several times; their collections
    // overlap each other's, and one file is on both.
    constexpr int kStep = 3000;
    std::vector<std::string> homes;
    for (const char* machine : {"first", "second"}) {
        std::string home = scratch.root() + "/" + machine + "/home";
        std::string data = scratch.root() + "/" + machine + "/data";
        fs::create_directories(home);
        fs::create_directories(data);
        for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
            fs::copy_file(entry.path(), home + "/" + entry.path().filename().string());
        ASSERT_EQ(cli(home, {"db", "init", *url}).exitCode, 0);
        int offset = homes.empty() ? 0 : kStep / 2;
        for (int k = 1; k <= 4; ++k)
            writeFileAtomically(data + "/KAWABE_26040" + std::to_string(k) + "_000" + std::to_string(offset ? 1 : 0) + ".v38",
                                windImage(0, offset + k * kStep));
        writeFileAtomically(data + "/KAWABE_260409_0000.v38", windImage(kStep, kStep));
        homes.push_back(home);
    }
    std::vector<std::unique_ptr<BackgroundProcess>> running;
    for (const std::string& home : homes)
        running.push_back(std::make_unique<BackgroundProcess>(
            std::vector<std::string>{FENTA21_CLI_PATH, "--home", home, "db", "import", "--json",
                                     fs::path(home).parent_path().string() + "/data"},
            home + "/import.log"));
    std::int64_t inserted = 0;
    for (std::size_t i = 0; i < running.size(); ++i) {
        ASSERT_EQ(running[i]->waitFor(std::chrono::seconds(100)), 0) << running[i]->output();
        json result = json::parse(readFileBytes(homes[i] + "/import.log"));
        inserted += result["total"]["inserted"].get<std::int64_t>();
        EXPECT_EQ(result["total"]["conflicts"], 0);
    }
    // Every reading of the longest collection is there once.
    const std::int64_t readings = 2 * (kStep / 2 + 4 * kStep);
    EXPECT_EQ(inserted, readings);
    json status = json::parse(cli(homes[0], {"db", "status", "--json"}).out);
    EXPECT_EQ(status["records"], readings);
    EXPECT_EQ(status["files"], 9);
}

}  // namespace
}  // namespace fenta21::test
