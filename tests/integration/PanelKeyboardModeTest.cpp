// The keyboard command mode over a pseudo-terminal: on an idle line it opens and closes the
// port itself; while the panel runs it keeps the panel off the line and leaves the link up.
#include "core/app/DirectCollection.h"
#include "core/panel/PanelSession.h"
#include "core/app/KeyboardMode.h"
#include "core/protocol/RetrySettings.h"
#include "core/remote/ConnectionResult.h"
#include "tests/support/SimLine.h"
#include "tests/unit/datafile/InstalledHome.h"
#include "tests/unit/panel/PanelBench.h"
#include "tests/unit/panel/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class KeyboardModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        installConfiguration(line.home);
        line.session->models.loadModelTable();
        line.logger.setReply("rome", "ROM V3.02");
    }
    bool received(KeyboardMode& mode, const std::string& text) {
        return eventually([&] {
            auto lines = mode.receivedLines();
            return std::find(lines.begin(), lines.end(), text) != lines.end();
        });
    }

    SimLine line{0.02};
};

TEST_F(KeyboardModeTest, OnAnIdleLineItOpensThePortItselfAndClosesItAgain) {
    KeyboardMode mode(*line.session);
    ASSERT_TRUE(mode.open(savedDirectPort(*line.session)));  // COM1 at 9600 bit/s
    EXPECT_EQ(line.session->line.state(), LineState::Connecting);
    EXPECT_TRUE(mode.send("rome"));
    EXPECT_TRUE(received(mode, "ROM V3.02"));
    mode.sendAck();
    mode.sendNak();
    mode.sendCan();
    EXPECT_TRUE(eventually([&] { return line.logger.receivedControlBytes().size() == 3; }));
    EXPECT_THAT(line.logger.receivedControlBytes(), ElementsAre(0x06, 0x15, 0x18));
    EXPECT_THAT(line.logger.receivedLines(), Not(Contains("CONNECT")));  // no handshake of its own
    mode.close();
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_FALSE(line.session->channel()->connected.load());
}

TEST_F(KeyboardModeTest, ClearInCapitalsIsAskedAboutFirst) {
    KeyboardMode mode(*line.session);
    ASSERT_TRUE(mode.open(savedDirectPort(*line.session)));
    line.host.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(mode.send("CLEAR"));
    EXPECT_TRUE(mode.send("clear"));  // the lower-case command goes at once
    EXPECT_TRUE(received(mode, "OK"));
    EXPECT_TRUE(mode.send("CLEAR"));
    EXPECT_TRUE(received(mode, "?"));
    EXPECT_THAT(line.host.questions(), ElementsAre(kClearQuestion, kClearQuestion));
    mode.close();
    auto lines = line.logger.receivedLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "CLEAR"), 1);
}

TEST_F(KeyboardModeTest, OverlongLineAddsNothingAndTheNextLineStillArrives) {
    line.logger.setReply("long", std::string(100, 'L'));
    KeyboardMode mode(*line.session);
    ASSERT_TRUE(mode.open(savedDirectPort(*line.session)));
    mode.send("long");
    line.clock.sleepFor(std::chrono::seconds(3));
    mode.send("rome");
    EXPECT_TRUE(received(mode, "ROM V3.02"));
    mode.close();
    EXPECT_THAT(mode.receivedLines(), ElementsAre("ROM V3.02"));
}

TEST_F(KeyboardModeTest, PortThatCannotBeOpenedIsReported) {
    KeyboardMode mode(*line.session);
    EXPECT_FALSE(mode.open(KeyboardPort{7, 5}));  // COM7 is not mapped
    EXPECT_THAT(line.host.reports(), ElementsAre(kPortUnusableMessage));
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_FALSE(mode.isOpen());
}

TEST_F(KeyboardModeTest, WhileThePanelRunsItHoldsTheLineGuardAndLeavesTheLinkUp) {
    line.session->retry = loadRetrySettings(line.home.file("cmd.dat"));
    ASSERT_EQ(linkUp(*line.session, {1, 5}), kLinkUp);
    ScriptedDialogs dialogs;
    PanelSession panel(*line.session, dialogs);
    panel.start();
    ASSERT_TRUE(eventually([&] { return panel.currentItem() == PanelItem::kBanner; }));

    KeyboardMode mode(*line.session);
    ASSERT_TRUE(mode.open(savedDirectPort(*line.session)));
    EXPECT_TRUE(line.logger.guardOpen());
    const std::size_t before = line.logger.receivedLines().size();
    for (int i = 0; i < 4; ++i) panel.tick();  // the panel's timer keeps running: no refresher starts
    mode.send("rome");
    EXPECT_TRUE(received(mode, "ROM V3.02"));
    mode.close();

    auto lines = line.logger.receivedLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + static_cast<long>(before), lines.end()),
                ElementsAre("rome", "comtm=1"));
    EXPECT_THAT(lines, Contains("comtm=0"));
    EXPECT_FALSE(line.logger.guardOpen());
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
    EXPECT_TRUE(line.session->channel()->connected.load());
    EXPECT_TRUE(panel.active());
}

}  // namespace
}  // namespace fenta21::test
