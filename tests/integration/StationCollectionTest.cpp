// Station collections without a modem: a direct-link station found by the search.
#include "core/collect/CollectResult.h"
#include "core/remote/CollectStation.h"
#include "core/remote/ArbitraryRun.h"
#include "sim/image/DataImage.h"
#include "tests/support/HeardCollections.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
namespace fs = std::filesystem;

class StationCollection : public ::testing::Test {
protected:
    StationCollection() {
        fs::create_directories(line.home.root() + "/stations/kawabe");
        sim::ImageRecipe recipe;
        recipe.instants = 30;
        recipe.channels = {{0, 20, 10, 1, 0}};
        line.logger.setMemoryImage(sim::buildDataImage(recipe));
        line.session->addressBook.store(4, {"河辺", "", "", "KAWABE", line.home.root() + "/stations/kawabe", "com"});
    }
    SimLine line;
};

TEST_F(StationCollection, DirectLinkStationIsFoundByTheSearchAndCollectedIntoItsFolder) {
    HeardCollections heard(*line.session);
    EXPECT_EQ(collectStation(*line.session, 4), kCollectOk);
    std::vector<std::string> stored = heard.storedFiles();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(fs::path(stored[0]).parent_path(), fs::path(line.home.root() + "/stations/kawabe"));
    EXPECT_EQ(fs::path(stored[0]).filename().string().rfind("KAWABE_", 0), 0u);
    EXPECT_THAT(line.logger.receivedLines(), Contains("CONNECT"));
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_TRUE(line.host.reports().empty());
}

TEST_F(StationCollection, BusyLineIsRefusedUnlessThePanelHoldsTheDirectLink) {
    line.session->line.setState(LineState::Connecting);
    EXPECT_EQ(collectStation(*line.session, 4), -1);
    EXPECT_THAT(line.host.reports(), ElementsAre("すでに回線接続中です!!     "));
    EXPECT_TRUE(line.logger.receivedLines().empty());

    ASSERT_EQ(line.open(), 1);
    line.session->line.setState(LineState::Linked);
    line.session->line.setPanelLinkActive(1);
    EXPECT_EQ(collectStation(*line.session, 4), kCollectOk);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);  // the panel's link stays
}

TEST_F(StationCollection, ArbitraryRunSkipsEmptyEntriesAndCollectsRepeatsAgain) {
    auto run = runArbitraryList(*line.session, {4, 7, 4});
    EXPECT_THAT(run.results, ElementsAre(kCollectOk, kCollectNothingNew));
    EXPECT_FALSE(run.cancelled);
    EXPECT_THAT(line.host.reports(), ElementsAre("前回のデータ回収時以降に新しく記録されているデータがありません!!"));
}

TEST_F(StationCollection, CancelEndsTheArbitraryRun) {
    line.host.cancelModals = true;
    auto run = runArbitraryList(*line.session, {4, 4});
    EXPECT_TRUE(run.cancelled);
    EXPECT_THAT(run.results, ElementsAre(27));
}

}  // namespace
}  // namespace fenta21::test
