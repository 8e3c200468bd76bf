// The window's direct collection (F1, F8) while another operation holds the line: it reuses
// only the user's own link, and never a line a station collection is using.
#include "core/app/DirectCollection.h"
#include "core/collect/CollectResult.h"
#include "core/remote/CollectStation.h"
#include "sim/image/DataImage.h"
#include "tests/support/HeardCollections.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

class SharedLine : public ::testing::Test {
protected:
    SharedLine() {
        fs::create_directories(line.home.root() + "/stations/kawabe");
        fs::create_directories(line.home.root() + "/data");
        sim::ImageRecipe recipe;
        recipe.instants = 200;
        recipe.channels = {{0, 20, 10, 1, 0}};
        line.logger.setMemoryImage(sim::buildDataImage(recipe));
        line.session->addressBook.store(4, {"河辺", "", "", "KAWABE", line.home.root() + "/stations/kawabe", "com"});
        // Slow enough that the window's command arrives in the middle of the transfer.
        line.server->setPace(9600);
    }

    // Runs the station collection on a thread of its own, as the scheduler does, and returns
    // once its transfer has begun.
    std::future<int> stationCollectionInTransfer() {
        auto running = std::async(std::launch::async, [this] { return collectStation(*line.session, 4); });
        while (!line.logger.transferPending()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return running;
    }

    // Paced bytes must not look like a silent line to a heavily loaded machine.
    SimLine line{0.1};
    HeardCollections heard{*line.session};
};

TEST_F(SharedLine, DirectCollectionIsRefusedWhileAStationCollectionHoldsTheLine) {
    auto station = stationCollectionInTransfer();
    std::size_t linesBefore = line.logger.receivedLines().size();

    EXPECT_EQ(directCollection(*line.session, CollectCommand::Copy), -1);
    EXPECT_THAT(line.host.reports(), ElementsAre("すでに回線接続中です!!     "));
    EXPECT_EQ(line.logger.receivedLines().size(), linesBefore);  // nothing was sent

    EXPECT_EQ(station.get(), kCollectOk);
    std::vector<std::string> stored = heard.storedFiles();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(readFileBytes(stored[0]), line.logger.lastTransferImage());
    EXPECT_EQ(line.logger.clearCount(), 1);
}

TEST_F(SharedLine, UsersOwnLinkCarriesOneCollectionAtATime) {
    ASSERT_EQ(linkUp(*line.session, {1, 5}), 0);
    auto station = stationCollectionInTransfer();  // the arbitrary list collecting over the panel's link

    EXPECT_EQ(directCollection(*line.session, CollectCommand::AllCopy), -1);
    EXPECT_THAT(line.host.reports(), ElementsAre("すでに回線接続中です!!     "));

    EXPECT_EQ(station.get(), kCollectOk);
    std::vector<std::string> stored = heard.storedFiles();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(readFileBytes(stored[0]), line.logger.lastTransferImage());

    // Once the station collection is over, the same link takes the window's collection.
    line.host.saveFiles.push_back(line.home.root() + "/data/chosen.v38");
    EXPECT_EQ(directCollection(*line.session, CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
}

}  // namespace
}  // namespace fenta21::test
