// What fenta21-cli says when something fails: the device and the reason of a port that cannot
// be opened, a comports.txt line it cannot use, a CSV file it could not write, an option it
// does not know. Run as a program against the simulated logger.
#include "core/session/SystemSettings.h"
#include "core/base/Bytes.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "sim/image/DataImage.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

const std::map<std::string, std::string> kFastClock{{"FENTA21_TIME_SCALE", "0.05"}};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class CliErrors : public ::testing::Test {
protected:
    CliErrors() {
        installConfiguration(home);
        fs::create_directory(home.root() + "/data");
    }
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, kFastClock, home.root());
    }
    // The simulated logger in this process, so that the test sees what reached it.
    void serveLogger() {
        server = std::make_unique<sim::PtyServer>(link, logger);
        ASSERT_TRUE(server->start()) << server->error();
        home.write("comports.txt", "COM1 " + link + "\n");
    }

    TempHome home;
    std::string link = home.root() + "/ttyLOGGER";
    sim::SimLogger logger;
    std::unique_ptr<sim::PtyServer> server;
};

TEST_F(CliErrors, APortThatCannotBeOpenedIsNamedWithItsDeviceAndTheReason) {
    std::string gone = home.root() + "/ttyUSB7";
    home.write("comports.txt", "COM1 " + gone + "\n");
    const std::string said =
        "fenta21-cli: cannot open " + gone + " (COM1): No such file or directory — the device is not there\n";

    auto send = cli({"send", "--port", "COM1", "rome"});
    EXPECT_EQ(send.exitCode, 1);
    EXPECT_THAT(send.err, HasSubstr("通信ポート使用不可 !!   "));
    EXPECT_THAT(send.err, HasSubstr(said));

    auto collect = cli({"collect", "--port", "COM1", "--speed", "5"});
    EXPECT_EQ(collect.exitCode, 1);
    EXPECT_THAT(collect.err, HasSubstr(said));
    EXPECT_THAT(collect.err, HasSubstr("通信回線接続中(COM1) on " + gone + "\n"));
    // The search opens the port at every try; the reason is said once.
    EXPECT_EQ(collect.err.find(said), collect.err.rfind(said)) << collect.err;
}

TEST_F(CliErrors, AComportsLineThatCannotBeUsedIsSaidAtStart) {
    home.write("comports.txt", "COM1 /dev/ttyUSB0\nCOMX /dev/ttyUSB1   # a typo\n\nCOM2\n");
    auto result = cli({"stations"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("fenta21-cli: comports.txt line 2: COMX /dev/ttyUSB1 (only COM1 to COM9 can be "
                                      "mapped)\n"));
    EXPECT_THAT(result.err, HasSubstr("fenta21-cli: comports.txt line 4: COM2 (no device given)\n"));
    EXPECT_THAT(result.err, Not(HasSubstr("line 1")));

    auto send = cli({"send", "--port", "COM2", "rome"});
    EXPECT_THAT(send.err, HasSubstr("fenta21-cli: COM2 has no device: comports.txt line 4: COM2 (no device given)\n"));
}

TEST_F(CliErrors, ACollectionWhoseCsvFailsStoresTheDataSaysWhyAndExitsThree) {
    serveLogger();
    logger.setIdentity("HIRANO", "HX-GEN8");
    sim::ImageRecipe recipe;
    recipe.modelCode = "HX-GEN8";
    recipe.instants = 20;
    recipe.channels = {{0, 20, 10, 1, 0}};
    logger.setMemoryImage(sim::buildDataImage(recipe));

    auto result = cli({"collect", "--port", "COM1", "--speed", "5"});
    EXPECT_EQ(result.exitCode, 3) << result.err;
    auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 1u) << result.out;
    EXPECT_EQ(fs::path(printed[0]).extension(), ".v38");
    EXPECT_EQ(readFileBytes(printed[0]), logger.lastTransferImage());
    EXPECT_THAT(result.err, HasSubstr("CSVファイル作成中にて途中終了!! "));
    EXPECT_THAT(result.err,
                HasSubstr("no CSV file for " + printed[0] + ": type.dat has no line for the model \"HX-GEN8\"\n"));
    EXPECT_EQ(logger.clearCount(), 1);  // the data itself is safe
}

// Stations behind loggers of a model that type.dat does not know.
TEST_F(CliErrors, StationAndListSayWhyACsvFileIsMissingAndExitThree) {
    std::string modemLink = home.root() + "/ttyMODEM";
    home.write("comports.txt", "COM2 " + modemLink + "\n");
    SystemSettings settings;
    settings.modemPortIndex = 1;
    settings.modemSpeedIndex = 5;
    saveSettings(home.file("system.dat"), settings);
    AddressBook book;
    book.store(0, {"河辺", "0311112222", "", "KAWABE", "", "modem"});
    book.store(1, {"平野", "0322223333", "", "HIRANO", "", "modem"});
    book.store(2, {"森", "0333334444", "", "MORI", "", "modem"});
    saveAddressBook(home.file("adr.csv"), book);
    std::string list;
    for (int station : {0, 1}) appendInt32LE(list, station);
    home.write("any.dat", list);
    BackgroundProcess modem({FENTA21_SIM_PATH, "--link", modemLink, "--station", "0311112222:1:KAWABE", "--station",
                             "0322223333:1:HIRANO", "--station", "0333334444:1:MORI", "--model", "HX-GEN8"},
                            home.root() + "/modem.log");
    ASSERT_TRUE(BackgroundProcess::waitForPath(modemLink));

    auto run = cli({"list"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    auto printed = lines(run.out);
    ASSERT_EQ(printed.size(), 2u) << run.out;
    for (const std::string& path : printed) {
        EXPECT_EQ(fs::path(path).extension(), ".v38");
        EXPECT_THAT(run.err, HasSubstr("no CSV file for " + path + ": type.dat has no line for the model \"HX-GEN8\""));
    }
    auto station = cli({"station", "3"});
    EXPECT_EQ(station.exitCode, 3) << station.err;
    EXPECT_THAT(station.out, testing::MatchesRegex(".*/MORI_[0-9_]+\\.v38\n"));
}

TEST_F(CliErrors, SendRefusesAnOptionItDoesNotKnowAndSendsNothing) {
    serveLogger();
    for (const char* option : {"--verbose", "--yes"}) {
        auto result = cli({"send", "--port", "COM1", "rome", option, "clear"});
        EXPECT_EQ(result.exitCode, 2) << option;
        EXPECT_THAT(result.err, HasSubstr(std::string("unknown option ") + option));
    }
    EXPECT_THAT(logger.receivedLines(), testing::IsEmpty());
    EXPECT_EQ(logger.clearCount(), 0);
}

TEST_F(CliErrors, SpeedTakesABitRateOrAnIndexAndNothingElse) {
    serveLogger();
    logger.answerOnlyAtSpeed(9600);
    for (const char* speed : {"9600", "5"}) {
        auto result = cli({"send", "--port", "COM1", "--speed", speed, "xerm0"});
        EXPECT_EQ(result.exitCode, 0) << speed << "\n" << result.err;
        EXPECT_EQ(result.out, "WNDA-01\n") << speed;
    }
    std::size_t heard = logger.receivedLines().size();
    for (const char* speed : {"9601", "10", "960O", ""}) {
        auto result = cli({"send", "--port", "COM1", "--speed", speed, "xerm0"});
        EXPECT_EQ(result.exitCode, 2) << speed;
        EXPECT_THAT(result.err, HasSubstr("--speed takes a bit rate")) << speed;
    }
    EXPECT_EQ(logger.receivedLines().size(), heard);
    EXPECT_THAT(cli({"send", "--help"}).out, HasSubstr("a bit rate (300, 600"));
}

TEST_F(CliErrors, VersionIsSaidWithoutAHomeFolder) {
    auto result = runProcess({FENTA21_CLI_PATH, "--version"}, {}, home.root());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_THAT(result.out, testing::MatchesRegex("fenta21-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

TEST_F(CliErrors, MistakesBeforeAnyCommandAreAJsonObjectWhenJsonIsAsked) {
    const std::string nowhere = home.root() + "/nowhere";
    const struct {
        std::vector<std::string> args;
        const char* command;  // "" for JSON null
        const char* says;
    } rows[] = {
        {{"--json", "--home", nowhere, "collect"}, "collect", "does not exist"},
        {{"--json", "nosuch"}, "", "unknown command"},
        {{"nosuch", "--json"}, "", "unknown command"},
        {{"--json", "--bogus"}, "", "unknown option --bogus"},
        {{"--json"}, "", "no command given"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> argv{FENTA21_CLI_PATH};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        ProcessResult result = runProcess(argv, kFastClock, home.root());
        EXPECT_EQ(result.exitCode, 2) << result.err;
        auto object = nlohmann::json::parse(result.out, nullptr, false);
        ASSERT_TRUE(object.is_object()) << result.out;
        EXPECT_EQ(object["exitStatus"], 2);
        EXPECT_EQ(object["command"], *row.command ? nlohmann::json(row.command) : nlohmann::json());
        EXPECT_THAT(object["message"].get<std::string>(), HasSubstr(row.says));
        EXPECT_THAT(result.err, HasSubstr(row.says));
    }
}

}  // namespace
}  // namespace fenta21::test
