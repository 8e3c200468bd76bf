// The panel session's threads: the key worker with its auto-repeat, the timer tick and the
// refresher, the idle limit and the shutdown, against the simulated logger in memory.
#include "core/panel/PanelNavigation.h"
#include "core/panel/PanelSession.h"
#include "core/panel/StartBanner.h"
#include "core/protocol/CommandExchange.h"
#include "core/protocol/ModelKinds.h"
#include "tests/unit/panel/PanelBench.h"
#include "tests/unit/panel/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using namespace PanelItem;
using namespace std::chrono_literals;
using ::testing::ElementsAre;

class PanelSessionTest : public ::testing::Test {
protected:
    void startPanel() {
        panel.start();
        ASSERT_TRUE(eventually([&] { return panel.currentItem() == kBanner; }));
    }
    // One timer tick, and the refresher it started run to its end.
    void tick() {
        panel.tick();
        ASSERT_TRUE(eventually([&] { return !panel.refresherRunning(); }));
    }
    // A key pressed and let go, handled to its end.
    void press(PanelKey key) {
        ASSERT_TRUE(panel.pressKey(key));
        panel.releaseKey();
        ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() == 0; }));
    }

    PanelBench bench{"WNDA-01", 0.01};
    ScriptedDialogs dialogs;
    PanelSession panel{*bench.session, dialogs};
};

TEST_F(PanelSessionTest, StartsAtTheBannerAndShowsTheItemAKeyMovesTo) {
    startPanel();
    tick();
    EXPECT_EQ(panel.display().line1, "               F");  // the series name scrolls in
    press(PanelKey::Next);
    EXPECT_EQ(panel.currentItem(), kBatt);
    tick();
    EXPECT_EQ(panel.display().line1, "BATT            ");
    EXPECT_EQ(panel.display().line2, "    [__********]");  // the simulated battery is at 80
    press(PanelKey::Previous);
    press(PanelKey::Previous);
    EXPECT_EQ(panel.currentItem(), kDate);  // past the banner to the end of the list
    tick();
    EXPECT_EQ(panel.display().line1, "Date            ");
}

TEST_F(PanelSessionTest, HeldKeyRepeatsEveryHalfSecondOrSo) {
    startPanel();
    bench.forgetSent();
    ASSERT_TRUE(panel.pressKey(PanelKey::Next));
    ASSERT_TRUE(eventually([&] { return bench.timesSent("comtm=0").size() >= 4; }));
    panel.releaseKey();
    ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() == 0; }));
    auto times = bench.timesSent("comtm=0");
    // 100 ms after the action, 100 ms more, 200 ms more, then the worker's own 100 ms step.
    const auto shortest = bench.clock.scaled(400ms);
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], shortest) << i;
    const int moves = static_cast<int>(bench.timesSent("comtm=0").size());
    EXPECT_EQ(panel.currentItem(), modelItems(ModelKind::kWNDA)[static_cast<std::size_t>(moves - 1)]);
    // Let go, it stops.
    bench.clock.sleepFor(2s);
    EXPECT_EQ(static_cast<int>(bench.timesSent("comtm=0").size()), moves);
}

TEST_F(PanelSessionTest, KeyPressedWhileAnotherIsHandledIsIgnored) {
    startPanel();
    press(PanelKey::Next);
    press(PanelKey::Next);
    press(PanelKey::Next);
    ASSERT_EQ(panel.currentItem(), kRtcAdjust);
    dialogs.holdNextDialog();
    dialogs.cancel();
    ASSERT_TRUE(panel.pressKey(PanelKey::Enter));
    ASSERT_TRUE(eventually([&] { return dialogs.holding(); }));
    EXPECT_FALSE(panel.pressKey(PanelKey::Next));
    EXPECT_FALSE(panel.pressKey(PanelKey::Previous));  // also while key 0's number is in play
    dialogs.release();
    ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() == 0; }));
    EXPECT_EQ(panel.currentItem(), kRtcAdjust);
    EXPECT_EQ(panel.pressedKey(), -1);  // enter lets go of itself
    // The ticks while the key held the line started no refresher.
    EXPECT_TRUE(panel.pressKey(PanelKey::Next));
}

TEST_F(PanelSessionTest, PreviousKeyBeingHandledRefusesOthersToo) {
    startPanel();
    // Another worker holds the line: the move waits in the line guard, the key still in hand.
    bench.session->lineGuard.guard.store(1);
    ASSERT_TRUE(panel.pressKey(PanelKey::Previous));
    panel.releaseKey();
    ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() < 0; }));
    EXPECT_FALSE(panel.pressKey(PanelKey::Next));
    ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() == 0; }));
    EXPECT_EQ(panel.currentItem(), kRomVersion);
}

TEST_F(PanelSessionTest, IdleLimitOfOneEndsTheSessionAfter121Ticks) {
    bench.session->retry.panelLimit = 1;
    startPanel();
    for (int i = 0; i < 120; ++i) tick();
    EXPECT_TRUE(panel.active());
    tick();
    EXPECT_FALSE(panel.active());
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kShuttingDown; }));
    tick();  // clears the display and takes the line down
    EXPECT_EQ(panel.currentItem(), kShutDown);
    EXPECT_EQ(panel.display().line1, std::string(16, ' '));
    EXPECT_EQ(bench.session->line.state(), LineState::Idle);
    EXPECT_TRUE(bench.portClosed());
    tick();
    EXPECT_EQ(panel.currentItem(), kIdle);
    EXPECT_FALSE(panel.running());
}

TEST_F(PanelSessionTest, KeyActionsPutTheIdleCountBack) {
    bench.session->retry.panelLimit = 1;
    startPanel();
    for (int i = 0; i < 100; ++i) tick();
    press(PanelKey::Next);  // releasing the line guard keeps only the count's lowest bit
    EXPECT_LE(bench.session->lineGuard.panelTicks.load(), 1);
    for (int i = 0; i < 100; ++i) tick();
    EXPECT_TRUE(panel.active());
}

TEST_F(PanelSessionTest, TimeIsPolledOnEvenTicksAndAFailureEndsTheSession) {
    startPanel();
    press(PanelKey::Previous);
    press(PanelKey::Previous);
    press(PanelKey::Previous);
    ASSERT_EQ(panel.currentItem(), kTime);
    bench.forgetSent();
    tick();  // odd
    tick();  // even
    EXPECT_THAT(bench.sent(), ElementsAre("time"));
    EXPECT_EQ(panel.display().line2, bench.panel().value(kTime));
    sim::LoggerFaults silent;
    silent.silent = true;
    bench.logger.setFaults(silent);
    tick();
    tick();
    EXPECT_FALSE(panel.active());
}

TEST_F(PanelSessionTest, FailedStartIsReportedAndTheLineTakenDown) {
    sim::LoggerFaults silent;
    silent.silent = true;
    bench.logger.setFaults(silent);
    panel.start();
    ASSERT_TRUE(eventually([&] { return !panel.active(); }));
    EXPECT_THAT(bench.host.reports(), testing::Contains(kNoReplyMessage));
    EXPECT_EQ(bench.session->line.state(), LineState::Idle);
    EXPECT_EQ(panel.currentItem(), kIdle);
    EXPECT_FALSE(panel.pressKey(PanelKey::Next));
}

TEST_F(PanelSessionTest, CollectionKeyGoesToTheWindowNotTheWorker) {
    int menus = 0;
    PanelSession withMenu(*bench.session, dialogs, {{}, [&] { ++menus; }});
    withMenu.start();
    ASSERT_TRUE(eventually([&] { return withMenu.currentItem() == kBanner; }));
    EXPECT_TRUE(withMenu.pressKey(PanelKey::CollectionMenu));
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(bench.panel().pendingKey.load(), 0);
    withMenu.functionKeyReleased(3);
    EXPECT_EQ(bench.session->line.pendingFunctionKey(), 114);
}

TEST_F(PanelSessionTest, SnapshotHoldsWhatTheWindowDraws) {
    PanelSnapshot idle = panel.snapshot();
    EXPECT_FALSE(idle.active);
    EXPECT_EQ(idle.currentItem, kIdle);
    EXPECT_EQ(idle.pressedKey, -1);
    EXPECT_EQ(idle.line1, std::string(16, ' '));

    startPanel();
    press(PanelKey::Next);
    tick();
    PanelSnapshot shown = panel.snapshot();
    EXPECT_TRUE(shown.active);
    EXPECT_EQ(shown.currentItem, kBatt);
    EXPECT_EQ(shown.line1, "BATT            ");
    EXPECT_EQ(shown.line2, "    [__********]");
    EXPECT_EQ(shown.pressedKey, -1);
    ASSERT_TRUE(panel.pressKey(PanelKey::Previous));
    EXPECT_EQ(panel.snapshot().pressedKey, 0);
    panel.releaseKey();
    EXPECT_EQ(panel.snapshot().pressedKey, -1);
    ASSERT_TRUE(eventually([&] { return bench.panel().pendingKey.load() == 0; }));
}

TEST_F(PanelSessionTest, DisconnectedSessionHoldsTheLineUntilItHasTakenItDown) {
    EXPECT_FALSE(panel.holdsLine());
    startPanel();
    EXPECT_TRUE(panel.holdsLine());
    panel.end();
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == kShuttingDown; }));
    EXPECT_TRUE(panel.holdsLine());
    EXPECT_EQ(bench.session->line.state(), LineState::Linked);
    tick();  // the refresher takes the line down ...
    EXPECT_TRUE(bench.portClosed());
    EXPECT_EQ(bench.session->line.state(), LineState::Idle);
    EXPECT_TRUE(panel.holdsLine());
    tick();  // ... and the panel is idle at the next tick
    EXPECT_FALSE(panel.holdsLine());
    EXPECT_FALSE(panel.workersRunning());
}

TEST_F(PanelSessionTest, ShutDownReleasesTheLineWithoutWaitingForTicks) {
    startPanel();
    tick();
    panel.shutDown();
    EXPECT_FALSE(panel.active());
    EXPECT_EQ(panel.currentItem(), kIdle);
    EXPECT_EQ(panel.display().line1, std::string(16, ' '));
    EXPECT_EQ(bench.session->line.state(), LineState::Idle);
    EXPECT_TRUE(bench.portClosed());
}

TEST_F(PanelSessionTest, ShutDownLeavesALineTheSessionNoLongerHolds) {
    startPanel();
    panel.end();
    ASSERT_TRUE(eventually([&] { return !panel.workersRunning(); }));
    // Meanwhile another operation took the line over.
    bench.session->line.setState(LineState::Connecting);
    panel.shutDown();
    EXPECT_EQ(panel.currentItem(), kIdle);
    EXPECT_FALSE(bench.portClosed());
    EXPECT_EQ(bench.session->line.state(), LineState::Connecting);
}

TEST(StartBanner, SeriesScrollsInThenTheMakerRunsRoundWithoutEnd) {
    BannerStep step = stepBanner(0, ModelKind::kWNDA);
    EXPECT_EQ(step.line1, "               F");
    EXPECT_FALSE(step.line2);
    step = stepBanner(15, ModelKind::kWNDA);
    EXPECT_EQ(step.line1, "FENTA21 Series  ");
    EXPECT_EQ(stepBanner(15, ModelKind::kHBLTZ).line1, "FENTA(R) Series ");
    EXPECT_FALSE(stepBanner(16, ModelKind::kWNDA).line1);  // n = 17: odd, nothing changes
    EXPECT_EQ(stepBanner(17, ModelKind::kWNDA).line2, "              Br");
    // Run it long: the counter stays bounded and line 2 always shows the maker's name.
    int counter = 0;
    for (int i = 0; i < 1000; ++i) {
        step = stepBanner(counter, ModelKind::kWNDA);
        counter = step.counter;
        ASSERT_LE(counter, 2 * 36 + 17);
        if (step.line2) {
            ASSERT_EQ(step.line2->size(), 16u);
        }
    }
    EXPECT_EQ(stepBanner(89, ModelKind::kWNDA).line2, "Brightlow CO.,LT");  // past position 36: round again
}

TEST(PanelTexts, TheDisplayIsNeverSeenHalfWritten) {
    PanelState state;
    const std::string a(16, 'A'), b(16, 'B');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop.load(); ++i) state.setDisplay(i % 2 ? a : b, i % 2 ? a : b);
    });
    for (int i = 0; i < 20000; ++i) {
        DisplayLines lines = state.display();
        ASSERT_EQ(lines.line1, lines.line2);
        ASSERT_TRUE(lines.line1 == a || lines.line1 == b || lines.line1 == std::string(16, ' '));
    }
    stop.store(true);
    writer.join();
}

}  // namespace
}  // namespace fenta21::test
