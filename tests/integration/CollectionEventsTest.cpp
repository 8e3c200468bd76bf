// Every way a collection starts announces the same finished collection to every listener,
// with what the simulated loggers really sent.
#include "core/app/DirectCollection.h"
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/remote/CollectStation.h"
#include "core/remote/Scheduler.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/support/HeardCollections.h"
#include "tests/support/SimLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kNumber = "0312345678";

std::string image(int instants) {
    sim::ImageRecipe recipe;
    recipe.instants = instants;
    recipe.channels = {{0, 20, 10, 1, 0}};
    return sim::buildDataImage(recipe);
}

std::string csvBeside(const std::string& dataFile) { return fs::path(dataFile).replace_extension(".csv").string(); }

// What a logger had sent and been told when a collection from it ended.
struct Sent {
    std::string image;
    int clears = 0;
};
Sent sentBy(const sim::SimLogger& logger) { return {logger.lastTransferImage(), logger.clearCount()}; }

// What a listener must have heard of a collection that stored what the logger sent and cleared
// it once.
void expectStored(const CollectionFinished& heard, const Sent& before, const Sent& after, int retries) {
    const std::string& sent = after.image;
    EXPECT_EQ(heard.result, kCollectOk);
    EXPECT_EQ(heard.message, "");
    EXPECT_TRUE(readFileBytes(heard.dataFile) == sent) << heard.dataFile;
    EXPECT_EQ(heard.bytesReceived, static_cast<long>(sent.size()));
    EXPECT_EQ(heard.blocksReceived, static_cast<int>(sent.size() / kBlockPayload));
    EXPECT_EQ(heard.retries, retries);
    EXPECT_EQ(after.clears, before.clears + 1);
    EXPECT_TRUE(heard.clearSent);
    EXPECT_TRUE(heard.clearAnswered);
    EXPECT_EQ(heard.csvFile, csvBeside(heard.dataFile));
    EXPECT_TRUE(fs::exists(heard.csvFile));
    ASSERT_TRUE(heard.conversion.has_value());
    EXPECT_EQ(heard.conversion->outcome, CsvFileOutcome::Converted);
}

TEST(CollectionEvents, TwoListenersHearTheSameOutcomeOfDirectStationAndReservedCollections) {
    SimLine line;
    Session& session = *line.session;
    std::string modemPath = line.home.file("ttyMODEM");
    sim::SimModem modem{true};
    sim::PtyServer modemPort(modemPath, modem);
    ASSERT_TRUE(modemPort.start());
    line.home.write("comports.txt", "COM1 " + line.linkPath + "\nCOM2 " + modemPath + "\n");
    session.settings.modemPortIndex = 1;
    session.settings.modemSpeedIndex = 5;
    fs::create_directory(line.home.root() + "/data");
    session.addressBook.store(6, {"河辺", std::string(kNumber) + "_2", "", "KAWABE", "", "modem"});
    sim::RemoteStation& remote = modem.addStation(kNumber, 2);
    remote.unit(2).setMemoryImage(image(40));
    line.logger.setMemoryImage(image(400));
    sim::BlockFaults oneBadBlock;
    oneBadBlock.badCrc = {{2, 1}};
    line.logger.setBlockFaults(oneBadBlock);

    HeardCollections first(session);
    HeardCollections second(session);

    const CalendarTime directAt{2026, 12, 8, 9, 30, 15};
    line.clock.setLocalTime(directAt);
    ASSERT_EQ(directCollection(session, CollectCommand::Copy), kCollectOk);
    Sent directSent = sentBy(line.logger);
    const CalendarTime stationAt{2026, 12, 8, 9, 45, 0};
    line.clock.setLocalTime(stationAt);
    ASSERT_EQ(collectStation(session, 6), kCollectOk);
    Sent stationSent = sentBy(remote.unit(2));

    // The scheduler collects the station again in its reserved minute, after new records.
    remote.unit(2).setMemoryImage(image(80));
    session.reservations.replace({{{0, 0, 31}, 6}});
    const CalendarTime reservedMinute{2026, 12, 8, 10, 31, 0};
    line.clock.runFrom(reservedMinute);
    {
        ReservationScheduler scheduler(session);
        scheduler.switchOn();
        for (int i = 0; i < 1000 && first.all().size() < 3; ++i) std::this_thread::sleep_for(10ms);
        session.reservationRunning.store(false);
    }
    Sent reservedSent = sentBy(remote.unit(2));

    std::vector<CollectionFinished> heard = first.all();
    EXPECT_EQ(second.all(), heard);
    ASSERT_EQ(heard.size(), 3u);

    // Who collected: how it was started, the station, its name, unit and port.
    auto expectWho = [](const CollectionFinished& event, CollectionOrigin origin, int station, const char* name,
                        int unit, int port) {
        EXPECT_EQ(event.origin, origin);
        EXPECT_EQ(event.station, station);
        EXPECT_EQ(event.stationName, name);
        EXPECT_EQ(event.unit, unit);
        EXPECT_EQ(event.port, port);
    };
    const CollectionFinished& direct = heard[0];
    expectWho(direct, CollectionOrigin::Direct, -1, "", 0, 1);
    EXPECT_EQ(direct.started, directAt);
    EXPECT_EQ(direct.finished, directAt);
    EXPECT_EQ(fs::path(direct.dataFile).parent_path(), fs::path(line.home.root() + "/data"));
    expectStored(direct, {}, directSent, 1);

    const CollectionFinished& station = heard[1];
    expectWho(station, CollectionOrigin::Station, 6, "河辺", 2, 2);
    EXPECT_EQ(station.started, stationAt);
    EXPECT_EQ(station.finished, stationAt);
    EXPECT_EQ(fs::path(station.dataFile).filename().string().rfind("KAWABE2_261208_0945", 0), 0u);
    expectStored(station, {}, stationSent, 0);

    const CollectionFinished& reserved = heard[2];
    expectWho(reserved, CollectionOrigin::Reservation, 6, "河辺", 2, 2);
    EXPECT_GE(reserved.started, reservedMinute);
    EXPECT_LE(reserved.started, reserved.finished);
    EXPECT_EQ(fs::path(reserved.dataFile).filename().string().rfind("KAWABE2_261208_1031", 0), 0u);
    expectStored(reserved, stationSent, reservedSent, 0);
    modemPort.stop();
}

}  // namespace
}  // namespace fenta21::test
