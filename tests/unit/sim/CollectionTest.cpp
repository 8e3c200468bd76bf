// "copy", "acopy" and "clear": the counts the logger announces, the image it sends and the
// collected mark behind them.
#include "sim/CollectionImage.h"
#include "sim/DemoImage.h"
#include "sim/SimLogger.h"
#include "tests/unit/sim/FrameSummary.h"
#include "tests/unit/sim/TestImages.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

constexpr char ACK = 0x06, CAN = 0x18;

// Runs one collection to its end, acknowledging every block; returns the payloads received.
std::string collect(SimLogger& logger, const std::string& command, std::string* countReply = nullptr) {
    std::string reply = logger.receive(command + "\r\n");
    if (countReply) *countReply = reply;
    std::string payloads;
    std::string answer = logger.receive("C");
    for (int guard = 0; answer.size() > 1 && guard < 1000; ++guard) {
        payloads += test::payloadOf(answer);
        answer = logger.receive(std::string(1, ACK));
    }
    logger.receive(std::string(1, ACK));  // for the EOT
    return payloads;
}

TEST(Collection, CountsAndBlocksFollowTheHeaderAndTheMark) {
    struct Row {
        const char* legend;
        std::size_t imageBlocks;
        std::uint32_t start, end, mark;
        const char* command;
        const char* count;
        std::size_t blocksSent;
        std::uint32_t startFieldSent;
    } rows[] = {
        {"new records from the first", 4, 640, 3000, 640, "copy", "3000\r\n", 3, 640},
        {"new records from the mark", 4, 640, 3000, 2000, "copy", "1640\r\n", 3, 2000},
        {"acopy ignores the mark", 4, 640, 3000, 2000, "acopy", "3000\r\n", 3, 640},
        {"nothing new is the header alone, one block", 4, 640, 640, 640, "copy", "640\r\n", 1, 640},
        {"mark past the end counts nothing", 4, 640, 1000, 1500, "copy", "640\r\n", 1, 1500},
        {"last record byte ends block 1", 4, 640, 1024, 640, "copy", "1024\r\n", 1, 640},
        {"one byte into block 2", 4, 640, 1025, 640, "copy", "1025\r\n", 2, 640},
        {"end beyond the image sends the whole image", 2, 640, 9000, 640, "copy", "9000\r\n", 2, 640},
        {"records that start later", 3, 1000, 2500, 1000, "acopy", "2140\r\n", 3, 1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        SimLogger logger;
        const std::string image = test::testImage(row.imageBlocks, row.start, row.end);
        logger.setMemoryImage(image);
        logger.setCollectedMark(row.mark);
        std::string count;
        const std::string sent = collect(logger, row.command, &count);
        EXPECT_EQ(count, row.count);
        ASSERT_EQ(sent.size(), row.blocksSent * 1024);
        EXPECT_EQ(sent, logger.lastTransferImage());
        EXPECT_EQ(imageStartOffset(sent), row.startFieldSent);
        EXPECT_EQ(imageEndOffset(sent), row.end);
        // Apart from the start field the logger sends its memory as it is.
        EXPECT_EQ(sent.substr(0, kStartOffsetField), image.substr(0, kStartOffsetField));
        EXPECT_EQ(sent.substr(kStartOffsetField + 4), image.substr(kStartOffsetField + 4, sent.size() - kStartOffsetField - 4));
        EXPECT_EQ(logger.transfersCompleted(), 1);
    }
}

TEST(Collection, ClearMovesTheMarkOnlyToTheEndOfACompletedTransfer) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(4, 640, 3000));
    EXPECT_EQ(logger.collectedMark(), 640u);

    EXPECT_EQ(logger.receive("clear\r\n"), "OK\r\n");  // nothing collected yet
    EXPECT_EQ(logger.collectedMark(), 640u);

    logger.receive("copy\r\n");
    logger.receive("C");
    logger.receive(std::string(1, CAN));  // abandoned: nothing was collected
    logger.receive("clear\r\n");
    EXPECT_EQ(logger.collectedMark(), 640u);

    collect(logger, "copy");
    EXPECT_EQ(logger.collectedMark(), 640u);  // until the program says so
    logger.receive("clear\r\n");
    EXPECT_EQ(logger.collectedMark(), 3000u);
    EXPECT_EQ(logger.clearCount(), 3);

    std::string count;
    collect(logger, "copy", &count);
    EXPECT_EQ(count, "640\r\n");
    collect(logger, "acopy", &count);
    EXPECT_EQ(count, "3000\r\n");

    // More records: the mark stays where the last collection left it.
    logger.setMemoryImage(test::testImage(5, 640, 4500));
    collect(logger, "copy", &count);
    EXPECT_EQ(count, "2140\r\n");
    EXPECT_EQ(imageStartOffset(logger.lastTransferImage()), 3000u);
}

TEST(Collection, WithoutAnImageCopyIsAnsweredLikeAnyCommand) {
    SimLogger logger;
    EXPECT_EQ(logger.receive("copy\r\n"), "?\r\n");
    logger.setReply("copy", "2048");
    EXPECT_EQ(logger.receive("copy\r\n"), "2048\r\n");
    EXPECT_FALSE(logger.transferPending());
    EXPECT_EQ(logger.receive("C\r\n"), "?\r\n");  // no transfer waits for its start byte

    logger.setMemoryImage(test::testImage(1, 640, 700));
    logger.setMemoryImage("");
    EXPECT_EQ(logger.receive("acopy\r\n"), "?\r\n");
}

TEST(Collection, LoggerFaultsOnTheCountReplyStartNoTransfer) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(1, 640, 700));
    LoggerFaults faults;
    faults.questionCommand = "copy";
    faults.cardCollectionRunning = true;
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("copy\r\n"), "?\r\n");
    EXPECT_EQ(logger.receive("acopy\r\n"), "BUSY\r\n");
    EXPECT_FALSE(logger.transferPending());
    EXPECT_EQ(logger.transfersCompleted(), 0);
}

TEST(Collection, HandOffReplacesTheLoggersOwnSender) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(4, 640, 3000));
    logger.handOffCopyTo({"sx", "-k", "image.bin"});
    EXPECT_FALSE(logger.takeHandOff().has_value());
    EXPECT_EQ(logger.receive("copy\r\n"), "3000\r\n");
    auto argv = logger.takeHandOff();
    ASSERT_TRUE(argv.has_value());
    EXPECT_EQ(*argv, (std::vector<std::string>{"sx", "-k", "image.bin"}));
    EXPECT_FALSE(logger.takeHandOff().has_value());  // taken once

    logger.handOffEnded(1);  // the sender failed
    logger.receive("clear\r\n");
    EXPECT_EQ(logger.collectedMark(), 640u);
    EXPECT_EQ(logger.transfersCompleted(), 0);

    logger.receive("copy\r\n");
    ASSERT_TRUE(logger.takeHandOff().has_value());
    logger.handOffEnded(0);
    logger.receive("clear\r\n");
    EXPECT_EQ(logger.collectedMark(), 3000u);
    EXPECT_EQ(logger.transfersCompleted(), 1);

    logger.handOffCopyTo({});
    EXPECT_EQ(logger.receive("copy\r\n"), "640\r\n");
    EXPECT_FALSE(logger.takeHandOff().has_value());
    EXPECT_EQ(test::summarize(logger.receive("C")), "STX 1 ok");
}

TEST(CollectionImage, OddSizedImagesArePaddedWithErasedBytes) {
    SimLogger logger;
    std::string image = test::testImage(1, 640, 1500);
    image += std::string(100, 'x');
    logger.setMemoryImage(image);
    const std::string sent = collect(logger, "acopy");
    ASSERT_EQ(sent.size(), 2048u);
    EXPECT_EQ(sent.substr(1024, 100), std::string(100, 'x'));
    EXPECT_EQ(sent.substr(1124), std::string(924, '\xFF'));
}

TEST(CollectionImage, TheDemoImageHasRecordsForCopyAndNothingAfterClear) {
    SimLogger logger;
    logger.setMemoryImage(demoImage("FENTA21-SIM", "WNDA-01"));
    std::string count;
    const std::string sent = collect(logger, "copy", &count);
    EXPECT_GT(std::stoul(count), kImageHeaderSize);
    EXPECT_EQ(sent.size() % 1024, 0u);
    EXPECT_GE(sent.size(), imageEndOffset(sent));
    logger.receive("clear\r\n");
    collect(logger, "copy", &count);
    EXPECT_EQ(count, "640\r\n");
}

}  // namespace
}  // namespace fenta21::sim
