// The simulated logger's answers and named faults, byte in, byte out.
#include "sim/SimLogger.h"

#include "sim/SimModem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace fenta21::sim {
namespace {

TEST(SimLoggerAnswers, BuiltInCommandsAndSettableReplies) {
    SimLogger logger;
    logger.setIdentity("KAWABE-01", "LVLA-02");
    logger.setUnitCount(2);
    logger.setReply("rome", "ROM V3.02");
    struct Row {
        const char* sent;
        const char* answered;
    } rows[] = {
        {"CONNECT\r\n", "READY\r\n"},  {"\r\n", "READY\r\n"},       {"eerm0\r\n", "KAWABE-01\r\n"},
        {"xerm0\r\n", "LVLA-02\r\n"},  {"comtm=0\r\n", "OK\r\n"},   {"clear\r\n", "OK\r\n"},
        {"rome\r\n", "ROM V3.02\r\n"}, {"unknown\r\n", "?\r\n"},    {"_COM1\r\n", "READY\r\n"},
        {"_COM2\r\n", ""},             {"_COMx\r\n", "?\r\n"},      {"ro", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(logger.receive(row.sent), row.answered) << row.sent;
    EXPECT_EQ(logger.receive("me\r\n"), "ROM V3.02\r\n");  // a line split across reads
    EXPECT_EQ(logger.selectedUnit(), 2);
    EXPECT_TRUE(logger.guardOpen());
    EXPECT_EQ(logger.clearCount(), 1);
}

TEST(SimLoggerFaults, EachFaultChangesOnlyWhatItNames) {
    SimLogger logger;
    logger.setReply("batt", "12.5");
    LoggerFaults faults;
    faults.answerOnNthCommand = "batt";
    faults.answerOnNth = 2;
    faults.questionCommand = "intv";
    faults.wakeUpOnlyCommand = "time";
    faults.noiseBeforeReply = "~";
    faults.longReplyCommand = "memo1";
    faults.longReplyLength = 30;
    faults.connectReply = "READY ";
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("batt\r\n"), "");
    EXPECT_EQ(logger.receive("batt\r\n"), "~12.5\r\n");
    EXPECT_EQ(logger.receive("batt\r\n"), "");
    EXPECT_EQ(logger.receive("intv\r\n"), "~?\r\n");
    EXPECT_EQ(logger.receive("time\r\n"), "");
    EXPECT_EQ(logger.receive("\r\n"), "~READY\r\n");
    EXPECT_EQ(logger.receive("memo1\r\n"), "~" + std::string(30, 'L') + "\r\n");
    EXPECT_EQ(logger.receive("CONNECT\r\n"), "~READY \r\n");

    faults = {};
    faults.silent = true;
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("CONNECT\r\n\r\n"), "");
    EXPECT_EQ(logger.receivedLines().back(), "");
}

// Line noise in every state (commands, waiting for the start byte, mid-transfer, stalled) is
// taken without harm, and the program's way out always finds the logger listening again.
TEST(SimLoggerNoise, RandomBytesNeverLeaveTheLoggerDeaf) {
    using ::testing::EndsWith;
    SimLogger logger;
    logger.setMemoryImage(std::string(3 * 1024, '\0'));
    logger.setTextListing({"a", "b"});
    BlockFaults blockFaults;
    blockFaults.badCrc = {{1, 2}};
    blockFaults.lostAck = {{2, 1}};
    blockFaults.stallAfter = 3;
    logger.setBlockFaults(blockFaults);
    std::mt19937 random(21);
    // Handshake bytes, whole commands and pieces of them, so that every state is visited often.
    const std::vector<std::string> pieces = {"\x06", "\x06", "\x15", "\x18", "C", "\r\n", "\n", "copy\r\n",
                                             "acopy\r\n", "text\r\n", "clear\r\n", "co", "x", std::string(1, '\0'),
                                             "\xFF"};
    SimModem modem;
    for (int round = 0; round < 200; ++round) {
        std::string noise;
        for (int i = 0; i < 300; ++i) noise += pieces[random() % pieces.size()];
        logger.receive(noise);
        modem.receive(noise);
        // CAN and CR LF end whatever the noise began; the second pair then wakes the logger.
        EXPECT_THAT(logger.receive("\x18\r\n\x18\r\n"), EndsWith("\r\nREADY\r\n")) << "round " << round;
        EXPECT_THAT(modem.receive("\rAT\r"), EndsWith("OK\r\n")) << "round " << round;
    }
    EXPECT_FALSE(logger.lastTransferImage().empty());  // the noise did start transfers
    EXPECT_EQ(logger.receive(std::string(10000, 'x') + "\r\nCONNECT\r\n"), "?\r\nREADY\r\n");
}

}  // namespace
}  // namespace fenta21::sim
