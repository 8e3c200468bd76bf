// fenta21-cli ended by a signal in the middle of a collection, against the simulated logger in
// this process on a paced line, so that the transfer is still running when the signal comes.
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "sim/image/DataImage.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

constexpr std::uint8_t kAck = 0x06;

class CliSignals : public ::testing::Test {
protected:
    CliSignals() {
        installConfiguration(home);
        fs::create_directory(dataFolder);
        sim::ImageRecipe recipe;
        recipe.instants = 2000;
        recipe.channels = {{0, 20, 10, 1, 0}, {1, 72, 3, 0, 0}, {2, 22, 120, 0, 0}};
        logger.setMemoryImage(sim::buildDataImage(recipe));  // 47 blocks
        server = std::make_unique<sim::PtyServer>(link, logger);
        if (!server->start()) throw std::runtime_error(server->error());
        // About a quarter of a second a block: the transfer takes a dozen seconds.
        server->setPace(38400);
        home.write("comports.txt", "COM1 " + link + "\n");
    }

    int acknowledgedBlocks() const {
        auto bytes = logger.receivedControlBytes();
        return static_cast<int>(std::count(bytes.begin(), bytes.end(), kAck));
    }
    // Waits (a bounded while) until the condition holds; false when it never did.
    static bool waitUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 1500; ++i) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    std::vector<std::string> dataFolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dataFolder)) names.push_back(entry.path().filename().string());
        return names;
    }
    void expectNothingStoredAndNothingCleared() {
        EXPECT_THAT(dataFolderEntries(), testing::IsEmpty());  // not even a temporary file
        EXPECT_EQ(logger.transfersCompleted(), 0);
        EXPECT_EQ(logger.clearCount(), 0);
        EXPECT_THAT(logger.receivedLines(), Not(Contains("clear")));
        EXPECT_FALSE(logger.guardOpen());  // "comtm=1": the logger was given its line back
    }

    TempHome home;
    std::string dataFolder = home.root() + "/data";
    std::string link = home.root() + "/ttyLOGGER";
    std::map<std::string, std::string> env{{"FENTA21_TIME_SCALE", "0.05"}};
    sim::SimLogger logger;
    std::unique_ptr<sim::PtyServer> server;
};

TEST_F(CliSignals, ASignalMidCollectionCancelsItCleanlyAndEndsWithItsStatus) {
    const struct {
        int signalNumber;
        int exitStatus;
    } cases[] = {{SIGTERM, 143}, {SIGHUP, 129}, {SIGINT, 130}};
    for (const auto& c : cases) {
        SCOPED_TRACE(strsignal(c.signalNumber));
        int before = acknowledgedBlocks();
        BackgroundProcess collect(
            {FENTA21_CLI_PATH, "--home", home.path(), "collect", "--json", "--port", "COM1", "--speed", "5"},
            home.root() + "/collect.log", env);
        ASSERT_TRUE(waitUntil([&] { return acknowledgedBlocks() > before; })) << collect.output();
        EXPECT_EQ(collect.stop(c.signalNumber), c.exitStatus) << collect.output();
        EXPECT_THAT(collect.output(), HasSubstr("キャンセル !!"));
        // A script reading the result is told the status the process ended with.
        EXPECT_THAT(collect.output(), HasSubstr("\"exitStatus\":" + std::to_string(c.exitStatus)));
        expectNothingStoredAndNothingCleared();
    }
}

TEST_F(CliSignals, TheSchedulerGoesOnAfterOneInterruptAndEndsAtOnceAtTheSecond) {
    AddressBook book;
    book.store(0, {"河辺", "", "", "KAWABE", "", "com"});
    saveAddressBook(home.file("adr.csv"), book);
    saveReservations(home.file("rsv.dat"), {{{0, 0, 30}, 0}});
    auto scheduleEnv = env;
    scheduleEnv["FENTA21_START_TIME"] = "2026-12-08T10:29:55";
    BackgroundProcess schedule({FENTA21_CLI_PATH, "--home", home.path(), "schedule"}, home.root() + "/schedule.log",
                               scheduleEnv);
    ASSERT_TRUE(waitUntil([&] { return acknowledgedBlocks() > 0; })) << schedule.output();

    schedule.signal(SIGINT);
    ASSERT_TRUE(waitUntil([&] { return schedule.output().find("stopping after the collection") != std::string::npos; }))
        << schedule.output();
    // The collection in progress goes on ...
    int atFirst = acknowledgedBlocks();
    ASSERT_TRUE(waitUntil([&] { return acknowledgedBlocks() >= atFirst + 2; })) << schedule.output();
    // ... until the second interrupt, which cancels it.
    EXPECT_EQ(schedule.stop(SIGINT), 130) << schedule.output();
    expectNothingStoredAndNothingCleared();
}

}  // namespace
}  // namespace fenta21::test
