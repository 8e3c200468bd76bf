// A whole panel session over a pseudo-terminal against the simulated logger: linked, started,
// keys pressed, a setting changed and read back, and ended by its idle limit.
#include "core/app/DirectCollection.h"
#include "core/panel/DialogLists.h"
#include "core/panel/PanelSession.h"
#include "core/protocol/ModelKinds.h"
#include "core/protocol/RetrySettings.h"
#include "core/remote/ConnectionResult.h"
#include "tests/support/SimLine.h"
#include "tests/unit/datafile/InstalledHome.h"
#include "tests/unit/panel/PanelBench.h"
#include "tests/unit/panel/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using namespace PanelItem;
using ::testing::Contains;

class PanelOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        installConfiguration(line.home);
        line.session->models.loadModelTable();
        line.session->retry = loadRetrySettings(line.home.file("cmd.dat"));
        line.logger.setIdentity("KAWABE-01", "RGT1-01");
        ASSERT_EQ(linkUp(*line.session, {1, 5}), kLinkUp);
    }
    void tick() {
        panel.tick();
        ASSERT_TRUE(eventually([&] { return !panel.refresherRunning(); }));
    }
    void press(PanelKey key) {
        ASSERT_TRUE(eventually([&] { return panel.pressKey(key); }));
        panel.releaseKey();
        ASSERT_TRUE(eventually([&] { return line.session->panel.pendingKey.load() == 0; }));
    }
    void goTo(int item) {
        for (int i = 0; i < kPanelItemCount && panel.currentItem() != item; ++i) press(PanelKey::Next);
        ASSERT_EQ(panel.currentItem(), item);
    }

    SimLine line{0.02};
    ScriptedDialogs dialogs;
    PanelSession panel{*line.session, dialogs};
};

TEST_F(PanelOverPty, SessionChangesASettingAndEndsByItsIdleLimit) {
    line.session->retry.panelLimit = 1;
    panel.start();
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kBanner; }));
    EXPECT_EQ(line.session->panelStationId.get(), "KAWABE-01");

    goTo(kPresetTimer);
    press(PanelKey::Next);
    EXPECT_EQ(panel.currentItem(), kTime);  // the fixed-interval RGT1 shows no Interval

    goTo(kAfterStart);
    dialogs.enter({"11/03", "06:45"});
    press(PanelKey::Enter);
    tick();
    EXPECT_EQ(panel.display().line1, "After Start     ");
    EXPECT_EQ(panel.display().line2, "     11/03 06:45");
    // Read back: the dialog opens again with what the logger now holds.
    dialogs.cancel();
    press(PanelKey::Enter);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].fields, (std::vector<std::string>{"11/03", "06:45"}));
    EXPECT_THAT(line.logger.receivedLines(), Contains("after=11030645"));

    // No key for 121 ticks: the session ends and the line is taken down.
    for (int i = 0; i < 121 && panel.active(); ++i) tick();
    EXPECT_FALSE(panel.active());
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kShuttingDown; }));
    tick();
    tick();
    EXPECT_EQ(panel.currentItem(), kIdle);
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_FALSE(line.session->channel()->connected.load());
}

TEST_F(PanelOverPty, LoggerWithALongNameGetsItsPanel) {
    const std::string name = "KAWABE-RIVER-UPSTREAM-GAUGE-STATION-039";
    ASSERT_EQ(name.size(), 39u);
    line.logger.setIdentity(name, "RGT1-01");
    panel.start();
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kBanner; }));
    EXPECT_EQ(line.session->panelStationId.get(), name);
    EXPECT_TRUE(line.host.reports().empty());
    goTo(kMode);
    tick();
    EXPECT_EQ(panel.display().line1, "Mode            ");
    panel.end();
    for (int i = 0; i < 10 && panel.running(); ++i) tick();
}

TEST_F(PanelOverPty, MonitorAndTimeLinesAreKeptFresh) {
    panel.start();
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kBanner; }));
    goTo(kMonitor);
    for (int i = 0; i < 4; ++i) tick();
    // The weather logger names its channels; channel 1 is the mean wind speed.
    std::string shown = panel.display().line2;
    EXPECT_NE(shown.find("m/s"), std::string::npos) << shown;
    goTo(kTime);
    tick();
    tick();
    EXPECT_EQ(panel.display().line2, line.session->panel.value(kTime));
    EXPECT_THAT(line.logger.receivedLines(), Contains("moni0"));
    panel.end();
    for (int i = 0; i < 10 && panel.running(); ++i) tick();
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
}

}  // namespace
}  // namespace fenta21::test
