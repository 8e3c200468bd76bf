#include "core/protocol/CommandExchange.h"
#include "core/protocol/LineGuard.h"
#include "core/serial/Channel.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

int count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

class CommandExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(line.open(), 1); }
    void setFaults(const sim::LoggerFaults& faults) { line.logger.setFaults(faults); }
    int send(const std::string& command, int max = 40) { return sendCommand(*line.session, command, reply, max); }

    SimLine line;
    std::string reply;
};

TEST_F(CommandExchange, AcceptsAPlainReplyOnTheFastPathWithoutAWaitWindow) {
    line.logger.setReply("rome", "ROM V3.02");
    EXPECT_EQ(send("rome"), kAccepted);
    EXPECT_EQ(reply, "ROM V3.02");
    EXPECT_TRUE(line.host.modals().empty());
}

TEST_F(CommandExchange, ClearNeedsOk) {
    EXPECT_EQ(send("clear"), kAccepted);
    EXPECT_EQ(reply, "OK");
    line.logger.setReply("clearx", "DONE");
    EXPECT_EQ(send("clearx", 20), kErrorReply);  // begins with "clear", answered without "OK"
    sim::LoggerFaults faults;
    faults.questionCommand = "clear";
    setFaults(faults);
    int clearsBefore = count(line.logger.receivedLines(), "clear");
    EXPECT_EQ(send("clear", 20), kErrorReply);
    EXPECT_EQ(reply, "?");
    EXPECT_GT(count(line.logger.receivedLines(), "clear"), clearsBefore);
}

TEST_F(CommandExchange, CommandAnsweredOnlyAtItsThirdSendingSucceedsInPhaseA) {
    line.logger.setReply("batt", "12.5");
    sim::LoggerFaults faults;
    faults.answerOnNthCommand = "batt";
    faults.answerOnNth = 3;
    setFaults(faults);
    EXPECT_EQ(send("batt"), kAccepted);
    EXPECT_EQ(reply, "12.5");
    auto lines = line.logger.receivedLines();
    EXPECT_EQ(count(lines, "batt"), 3);
    EXPECT_EQ(count(lines, ""), 0);  // no wake-up was needed
    ASSERT_EQ(line.host.modals().size(), 1u);
    EXPECT_EQ(line.host.modals()[0].spec.text, "コマンド応答受信待ち!!");
}

TEST_F(CommandExchange, WakeUpEndsPhaseBEarlyAndPhaseCSucceeds) {
    line.logger.setReply("intv", "0060");
    sim::LoggerFaults faults;
    faults.answerOnNthCommand = "intv";
    faults.answerOnNth = 4;  // R = 3: phase A sends it three times, phase C a fourth
    setFaults(faults);
    EXPECT_EQ(send("intv"), kAccepted);
    EXPECT_EQ(reply, "0060");
    auto lines = line.logger.receivedLines();
    EXPECT_EQ(count(lines, ""), 1);  // the first wake-up was answered
    EXPECT_THAT(lines, ElementsAre("intv", "intv", "intv", "", "intv"));
}

TEST_F(CommandExchange, LoggerThatOnlyWakesUpGivesErrorAfterPhaseC) {
    sim::LoggerFaults faults;
    faults.wakeUpOnlyCommand = "time";
    setFaults(faults);
    EXPECT_EQ(send("time"), kErrorReply);
    EXPECT_THAT(line.logger.receivedLines(), ElementsAre("time", "time", "time", "", "time", "time", "time"));
}

TEST_F(CommandExchange, SilenceGivesNoReplyAfterTheWholeReadBudget) {
    sim::LoggerFaults faults;
    faults.silent = true;
    setFaults(faults);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send("rome"), kNoReply);
    auto elapsed = std::chrono::steady_clock::now() - start;
    // Fast path 5 reads, then R x W in phase A and R x W in phase B: 11 reads of 2 s scaled.
    EXPECT_GE(elapsed, line.clock.scaled(std::chrono::seconds(2) * 11) - std::chrono::milliseconds(20));
    auto lines = line.logger.receivedLines();
    EXPECT_THAT(lines, ElementsAre("rome", "rome", "rome", "", "", ""));
}

TEST_F(CommandExchange, QuestionMarkGivesErrorReplyAndIsReportedInItsWords) {
    sim::LoggerFaults faults;
    faults.questionCommand = "pretm";
    setFaults(faults);
    EXPECT_EQ(sendCommandReport(*line.session, "pretm", reply, 20), kErrorReply);
    EXPECT_THAT(line.host.reports(), ElementsAre("コマンド応答エラー(?] "));
    EXPECT_TRUE(line.home.exists("ERR.LOG"));
}

TEST_F(CommandExchange, NoReplyIsReportedAsTimeout) {
    sim::LoggerFaults faults;
    faults.silent = true;
    setFaults(faults);
    EXPECT_EQ(sendCommandReport(*line.session, "rome", reply, 20), kNoReply);
    EXPECT_THAT(line.host.reports(), ElementsAre("コマンド応答　受信タイムアウト"));
}

TEST_F(CommandExchange, CancelEndsTheWaitWith27) {
    sim::LoggerFaults faults;
    faults.silent = true;
    setFaults(faults);
    line.host.cancelModals = true;
    EXPECT_EQ(sendCommandReport(*line.session, "rome", reply, 20), kCancelled);
    EXPECT_THAT(line.host.reports(), ElementsAre("キャンセル !!           "));
    // Cancelled after the first time-out of phase A: nothing was sent again.
    EXPECT_EQ(count(line.logger.receivedLines(), "rome"), 1);
}

TEST_F(CommandExchange, NoiseBeforeAReplyIsPartOfTheLineAndStillAccepted) {
    line.logger.setReply("digit", "5");
    sim::LoggerFaults faults;
    faults.noiseBeforeReply = "\x01~";
    setFaults(faults);
    EXPECT_EQ(send("digit"), kAccepted);
    EXPECT_EQ(reply, "\x01~5");
}

TEST_F(CommandExchange, ReplyLongerThanTheBufferIsNeverTakenInPart) {
    sim::LoggerFaults faults;
    faults.longReplyCommand = "memo1";
    faults.longReplyLength = 25;
    setFaults(faults);
    EXPECT_EQ(send("memo1", 20), kErrorReply);
    EXPECT_NE(reply, "LLLLL");  // the tail of the long line is not a reply
}

TEST(LinkHandshake, AcceptsExactlyReady) {
    SimLine line;
    ASSERT_EQ(line.open(), 1);
    EXPECT_EQ(linkHandshake(*line.session), kAccepted);

    sim::LoggerFaults faults;
    faults.connectReply = "READY ";
    line.logger.setFaults(faults);
    EXPECT_EQ(linkHandshake(*line.session), kErrorReply);

    faults.silent = true;
    line.logger.setFaults(faults);
    EXPECT_EQ(linkHandshake(*line.session), kLineTimeout);
}

TEST(SelectUnit, SendsTheUnitNumberLessOne) {
    SimLine line;
    line.logger.setUnitCount(3);
    ASSERT_EQ(line.open(), 1);
    EXPECT_EQ(selectUnit(*line.session, 3), 0);
    EXPECT_EQ(line.logger.receivedLines().back(), "_COM2");
    EXPECT_EQ(line.logger.selectedUnit(), 3);
    EXPECT_EQ(selectUnit(*line.session, 4), -1);  // no fourth unit behind this line
}

TEST(LineGuard, SendsComtmAroundTheTransferAndFreesTheLine) {
    SimLine line;
    ASSERT_EQ(line.open(), 1);
    line.session->lineGuard.guard.store(-1);  // the panel asked for a redraw: the line is free
    line.session->lineGuard.panelTicks.store(7);
    acquireLineGuard(*line.session);
    EXPECT_EQ(line.session->lineGuard.guard.load(), 1);
    EXPECT_TRUE(line.logger.guardOpen());
    releaseLineGuard(*line.session);
    EXPECT_FALSE(line.logger.guardOpen());
    EXPECT_EQ(line.session->lineGuard.guard.load(), 0);
    EXPECT_EQ(line.session->lineGuard.panelTicks.load(), 1);
    EXPECT_THAT(line.logger.receivedLines(), ElementsAre("comtm=0", "comtm=1"));
}

TEST(LineGuard, WaitsForThePanelToLetGo) {
    SimLine line;
    ASSERT_EQ(line.open(), 1);
    line.session->lineGuard.guard.store(1);
    std::thread panel([&] {
        line.clock.sleepFor(std::chrono::milliseconds(500));
        EXPECT_TRUE(line.logger.receivedLines().empty());  // nothing sent while the panel holds it
        line.session->lineGuard.guard.store(0);
    });
    acquireLineGuard(*line.session);
    panel.join();
    EXPECT_THAT(line.logger.receivedLines(), ElementsAre("comtm=0"));
}

}  // namespace
}  // namespace fenta21::test
