// Programs that collect into one data folder at the same time, as a station's scheduler, a
// script and the engineer's desktop program do: collections in the same minute race for one
// file name, and each must store its own logger's records, under a name of its own, before
// that logger is told to clear.
#include "core/session/SystemSettings.h"
#include "core/base/Cp932.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"
#include "sim/PtyServer.h"
#include "sim/RemoteStation.h"
#include "sim/SimLogger.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/support/LineTap.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

// About a quarter of a second a block: each transfer lasts a couple of seconds, so both
// programs have named their files before either stores one.
constexpr std::uint32_t kLinePace = 38400;

std::string memoryImage(int instants, int firstValue) {
    sim::ImageRecipe recipe;
    recipe.instants = instants;
    recipe.channels = {{0, 20, firstValue, 1, 0}, {1, 72, 3, 0, 0}, {2, 22, 120, 0, 0}};
    return sim::buildDataImage(recipe);
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The data files in the folder that hold exactly these bytes.
std::vector<std::string> dataFilesHolding(const std::string& folder, const std::string& bytes) {
    std::vector<std::string> names;
    for (const std::string& name : folderNames(folder))
        if (fs::path(name).extension() == ".v38" && readFileBytes(folder + "/" + name) == bytes) names.push_back(name);
    return names;
}

// A paced line in this process with a device at its far end, and the logger behind it whose
// "clear" is watched: when it comes, is what that logger sent already stored in the folder?
class WatchedLine {
public:
    WatchedLine(const std::string& link, sim::SimDevice& device, const sim::SimLogger& logger, const std::string& folder)
        : tap_(device), server_(link, tap_) {
        tap_.onClear([this, &logger, folder] {
            storedAtClear_ = dataFilesHolding(folder, logger.lastTransferImage()).size() == 1;
        });
        server_.setPace(kLinePace);
        if (!server_.start()) throw std::runtime_error(server_.error());
    }
    bool storedAtClear() const { return storedAtClear_; }

private:
    LineTap tap_;
    sim::PtyServer server_;
    std::atomic<bool> storedAtClear_{false};
};

class SharedDataFolder : public ::testing::Test {
protected:
    SharedDataFolder() {
        installConfiguration(home);
        fs::create_directory(dataFolder);
        direct.setMemoryImage(memoryImage(300, 10));
    }
    std::vector<std::string> collect(const std::string& device) const {
        return {FENTA21_CLI_PATH, "--home", home.path(), "collect", "--device", device, "--speed", "5"};
    }
    static std::map<std::string, std::string> startingAt(const std::string& time) {
        return {{"FENTA21_TIME_SCALE", "0.05"}, {"FENTA21_START_TIME", time}};
    }
    static bool waitUntil(const std::function<bool()>& condition) {
        for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
             std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
            if (condition()) return true;
        return false;
    }
    // Both files whole, each under a name of its own (the second collection to store took
    // "_2"), each logger cleared once, and not a temporary file left.
    void expectEachLoggersOwnFile(const sim::SimLogger& other, const std::string& name) {
        for (const sim::SimLogger* logger : std::array<const sim::SimLogger*, 2>{&direct, &other}) {
            EXPECT_EQ(dataFilesHolding(dataFolder, logger->lastTransferImage()).size(), 1u);
            EXPECT_EQ(logger->clearCount(), 1);
        }
        EXPECT_NE(direct.lastTransferImage(), other.lastTransferImage());
        EXPECT_THAT(folderNames(dataFolder),
                    ElementsAre(name + ".csv", name + ".v38", name + "_2.csv", name + "_2.v38"));
    }

    TempHome home;
    std::string dataFolder = home.root() + "/data";
    sim::SimLogger direct;
};

TEST_F(SharedDataFolder, TwoCollectionsAtOnceEachStoreTheirOwnLoggersRecords) {
    SystemSettings settings;
    settings.dataFileName = "STATION";
    saveSettings(home.file("system.dat"), settings);
    sim::SimLogger second;
    second.setMemoryImage(memoryImage(340, 500));
    WatchedLine firstLine(home.root() + "/ttyFIRST", direct, direct, dataFolder);
    WatchedLine secondLine(home.root() + "/ttySECOND", second, second, dataFolder);

    BackgroundProcess first(collect(home.root() + "/ttyFIRST"), home.root() + "/first.log",
                            startingAt("2026-12-08T09:00:00"));
    BackgroundProcess other(collect(home.root() + "/ttySECOND"), home.root() + "/second.log",
                            startingAt("2026-12-08T09:00:00"));
    EXPECT_EQ(first.waitFor(std::chrono::seconds(60)), 0) << first.output();
    EXPECT_EQ(other.waitFor(std::chrono::seconds(60)), 0) << other.output();

    expectEachLoggersOwnFile(second, "STATION_261208_0900");
    EXPECT_TRUE(firstLine.storedAtClear());
    EXPECT_TRUE(secondLine.storedAtClear());
}

TEST_F(SharedDataFolder, TheSchedulerAndACollectionBesideItEachStoreTheirOwnLoggersRecords) {
    SystemSettings settings;
    settings.dataFileName = "STATION";
    settings.modemPortIndex = 1;
    settings.modemSpeedIndex = 5;
    saveSettings(home.file("system.dat"), settings);
    AddressBook book;
    book.store(0, {"河辺", "0311112222", "", "STATION", "", "modem"});
    saveAddressBook(home.file("adr.csv"), book);
    saveReservations(home.file("rsv.dat"), {{{0, 0, 30}, 0}});
    home.write("comports.txt", "COM2 " + home.root() + "/ttyMODEM\n");
    sim::SimModem modem;
    sim::RemoteStation& station = modem.addStation("0311112222");
    station.logger().setMemoryImage(memoryImage(340, 500));
    WatchedLine modemLine(home.root() + "/ttyMODEM", modem, station.logger(), dataFolder);
    WatchedLine directLine(home.root() + "/ttyLOGGER", direct, direct, dataFolder);

    BackgroundProcess schedule({FENTA21_CLI_PATH, "--home", home.path(), "schedule"}, home.root() + "/schedule.log",
                               startingAt("2026-12-08T10:29:59"));
    // The collection beside it starts once the station has answered, so that both name their
    // files in the same minute while the station's records are still on their way.
    ASSERT_TRUE(waitUntil([&] { return station.answerCount() > 0; })) << schedule.output();
    ProcessResult beside = runProcess(collect(home.root() + "/ttyLOGGER"), startingAt("2026-12-08T10:30:00"), home.root());
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
    ASSERT_TRUE(waitUntil([&] {
        return fs::exists(home.file("RSV.LOG")) && cp932ToUtf8(home.read("RSV.LOG")).find("正常終了") != std::string::npos;
    })) << schedule.output();
    EXPECT_EQ(schedule.stop(), 0) << schedule.output();

    expectEachLoggersOwnFile(station.logger(), "STATION_261208_1030");
    EXPECT_TRUE(modemLine.storedAtClear());
    EXPECT_TRUE(directLine.storedAtClear());
}

}  // namespace
}  // namespace fenta21::test
