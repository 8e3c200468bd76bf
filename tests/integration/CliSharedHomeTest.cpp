// Several fenta21-cli programs changing one home at the same time, as the scheduler service,
// the desktop program and scripts do: every change each of them made is in the files
// afterwards, and a program killed in the middle of its change never leaves a torn file.
#include "core/session/SystemSettings.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::UnorderedElementsAreArray;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kNamedStations = 10;  // places 0-9 have names; the concurrent edits use 10-99

class SharedHome : public ::testing::Test {
protected:
    SharedHome() {
        installConfiguration(home);
        fs::create_directory(home.root() + "/data");
        saveSettings(home.file("system.dat"), SystemSettings{});
        AddressBook book;
        for (int place = 0; place < kNamedStations; ++place)
            book.store(place, {"局" + std::to_string(place), "0311112222", "", "", "", "modem"});
        saveAddressBook(home.file("adr.csv"), book);
        saveArbitraryList(home.file("any.dat"), ArbitraryList({0}));
        saveReservations(home.file("rsv.dat"), {{{0, 0, 0}, 0}});
    }

    std::unique_ptr<BackgroundProcess> start(const std::vector<std::string>& args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::string log = home.root() + "/run" + std::to_string(started++) + ".log";
        return std::make_unique<BackgroundProcess>(argv, log);
    }

    TempHome home;
    int started = 0;
};

TEST_F(SharedHome, ConcurrentChangesOfEveryHomeFileAreAllKept) {
    std::vector<std::vector<std::string>> commands;
    std::vector<std::string> expectedNames(kStationCount);
    for (int place = 0; place < kNamedStations; ++place) expectedNames[place] = "局" + std::to_string(place);
    for (int place = 10; place < 50; ++place) {
        commands.push_back({"stations", "set", std::to_string(place + 1), "--name", "S" + std::to_string(place)});
        expectedNames[static_cast<std::size_t>(place)] = "S" + std::to_string(place);
    }
    std::vector<Reservation> expectedReservations{{{0, 0, 0}, 0}};
    std::vector<int> expectedList{0};
    for (int place = 0; place < kNamedStations; ++place) {
        commands.push_back({"reservations", "add", std::to_string(place + 1), "--minute", std::to_string(place + 1)});
        expectedReservations.push_back({{0, 0, place + 1}, place});
        commands.push_back({"list", "add", std::to_string(place + 1)});
        expectedList.push_back(place);
    }
    const std::vector<std::vector<std::string>> settings = {
        {"config", "direct-port", "COM3"}, {"config", "modem-speed", "9600"},
        {"config", "dial", "pulse"},       {"config", "modem-port", "COM4"}};
    commands.insert(commands.end(), settings.begin(), settings.end());

    std::vector<std::unique_ptr<BackgroundProcess>> running;
    for (const auto& args : commands) running.push_back(start(args));
    for (std::size_t i = 0; i < running.size(); ++i)
        EXPECT_EQ(running[i]->waitFor(60s), 0) << commands[i][0] << " " << commands[i][1] << "\n"
                                               << running[i]->output();

    AddressBook book;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), book));
    std::vector<std::string> names;
    for (const Station& station : book.stations()) names.push_back(station.name);
    EXPECT_EQ(names, expectedNames);
    EXPECT_THAT(loadReservations(home.file("rsv.dat")), UnorderedElementsAreArray(expectedReservations));
    EXPECT_THAT(loadArbitraryList(home.file("any.dat")).stations(), UnorderedElementsAreArray(expectedList));
    SystemSettings stored;
    loadSettings(home.file("system.dat"), stored);
    SystemSettings expected;
    expected.directPortIndex = 2;
    expected.modemSpeedIndex = 5;
    expected.dialMethod = 1;
    expected.modemPortIndex = 3;
    EXPECT_EQ(stored, expected);
}

// Each file as the program reads it, written back in its layout, gives the file's own bytes:
// nothing cut short, no record half there.
void expectWholeLayouts(const TempHome& home, const std::string& after) {
    std::string settings = home.read("system.dat");
    EXPECT_EQ(settings.size(), kSystemDatSize) << after;
    std::string book = home.read("adr.csv");
    EXPECT_EQ(formatAddressBook(parseAddressBook(book)), book) << after;
    std::string reservations = home.read("rsv.dat");
    EXPECT_EQ(formatReservations(parseReservations(reservations)), reservations) << after;
    std::string list = home.read("any.dat");
    EXPECT_EQ(formatArbitraryList(parseArbitraryList(list)), list) << after;
}

TEST_F(SharedHome, AProgramKilledWhileChangingAFileNeverLeavesItTorn) {
    const std::vector<std::vector<std::string>> changes = {
        {"stations", "set", "20", "--remark", "二号局"}, {"stations", "clear", "3"},
        {"reservations", "add", "2", "--minute", "7"},   {"reservations", "remove", "1"},
        {"list", "add", "5"},                            {"list", "remove", "1"},
        {"config", "direct-speed", "19200"},             {"config", "dial", "pulse"},
    };
    std::mt19937 random(20260612);
    std::uniform_int_distribution<int> pause(0, 6000);
    for (int kill = 0; kill < 32; ++kill) {
        const auto& args = changes[static_cast<std::size_t>(kill) % std::size(changes)];
        auto program = start(args);
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        program->signal(SIGKILL);
        program->waitFor(10s);
        expectWholeLayouts(home, "after killing " + args[0] + " " + args[1] + " (kill " + std::to_string(kill) + ")");
    }
}

}  // namespace
}  // namespace fenta21::test
