// "eerl0" and "text": the logger's text listing, with and without its end line.
#include "sim/SimLogger.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

const std::vector<std::string> kLines = {
    "20260312,1200,001,+12.5,OK",
    "20260312,1210,001,+12.6,OK",
    "garbled line without commas",
    "",
};

TEST(TextListing, CountThenEveryLineThenTheEndLine) {
    SimLogger logger;
    logger.setTextListing(kLines);
    EXPECT_EQ(logger.receive("eerl0\r\n"), "4\r\n");
    EXPECT_EQ(logger.receive("text\r\n"),
              "20260312,1200,001,+12.5,OK\r\n20260312,1210,001,+12.6,OK\r\ngarbled line without commas\r\n\r\nEND\r\n");
}

TEST(TextListing, NamedFaultsAndTheEmptyListing) {
    SimLogger logger;
    logger.setTextListing({"one", "two"});
    LoggerFaults faults;
    faults.listingWithoutEndLine = true;
    faults.noiseBeforeReply = "~";
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("text\r\n"), "~one\r\ntwo\r\n");

    faults = {};
    faults.questionCommand = "eerl0";
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("eerl0\r\n"), "?\r\n");

    logger.setFaults({});
    logger.setTextListing({});
    EXPECT_EQ(logger.receive("eerl0\r\n"), "0\r\n");
    EXPECT_EQ(logger.receive("text\r\n"), "END\r\n");
}

TEST(TextListing, WithoutAListingTheCommandsAreUnknown) {
    SimLogger logger;
    EXPECT_EQ(logger.receive("eerl0\r\n"), "?\r\n");
    EXPECT_EQ(logger.receive("text\r\n"), "?\r\n");
}

TEST(LineSpeed, ALoggerSetToOneSpeedHearsNothingAtAnother) {
    SimLogger logger;
    logger.answerOnlyAtSpeed(9600);
    struct Row {
        std::uint32_t speed;
        const char* answered;
    } rows[] = {{0, ""}, {4800, ""}, {19200, ""}, {9600, "READY\r\n"}};
    for (const Row& row : rows) {
        logger.setLineSpeed(row.speed);
        EXPECT_EQ(logger.receive("CONNECT\r\n"), row.answered) << row.speed;
    }
    // Garbage is not even half a command: what was heard at the wrong speed is gone.
    logger.setLineSpeed(4800);
    logger.receive("CONN");
    logger.setLineSpeed(9600);
    EXPECT_EQ(logger.receive("CONNECT\r\n"), "READY\r\n");
    EXPECT_EQ(logger.receivedLines(), (std::vector<std::string>{"CONNECT", "CONNECT"}));

    logger.answerOnlyAtSpeed(0);
    logger.setLineSpeed(4800);
    EXPECT_EQ(logger.receive("CONNECT\r\n"), "READY\r\n");
}

}  // namespace
}  // namespace fenta21::sim
