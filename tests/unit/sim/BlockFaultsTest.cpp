// The logger's block sender, one named fault per row: what each handshake byte brings back.
#include "sim/SimLogger.h"
#include "tests/unit/sim/FrameSummary.h"
#include "tests/unit/sim/TestImages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

using test::summarize;

constexpr char C = 'C', ACK = 0x06, NAK = 0x15, CAN = 0x18;

struct Step {
    char sent;
    const char* answered;
};

struct Scenario {
    const char* legend;
    BlockFaults faults;
    std::vector<Step> steps;
    bool completed;
};

BlockFaults with(std::map<int, int> BlockFaults::*fault, std::map<int, int> blocks) {
    BlockFaults faults;
    faults.*fault = std::move(blocks);
    return faults;
}

BlockFaults wrongStartAlone() {
    BlockFaults faults = with(&BlockFaults::wrongStart, {{1, 1}});
    faults.wrongStartAlone = true;
    return faults;
}

BlockFaults stallAfter(int block) {
    BlockFaults faults;
    faults.stallAfter = block;
    return faults;
}

BlockFaults earlyEotAfter(int block) {
    BlockFaults faults;
    faults.earlyEotAfter = block;
    return faults;
}

// Three blocks of records after "copy".
const std::vector<Scenario> kScenarios = {
    {"clean transfer, EOT sent again after NAK", {},
     {{C, "STX 1 ok"}, {ACK, "STX 2 ok"}, {ACK, "STX 3 ok"}, {ACK, "EOT"}, {NAK, "EOT"}, {ACK, "none"}}, true},
    {"NAK repeats the same block", {},
     {{C, "STX 1 ok"}, {NAK, "STX 1 ok"}, {ACK, "STX 2 ok"}, {NAK, "STX 2 ok"}, {ACK, "STX 3 ok"}, {ACK, "EOT"}, {ACK, "none"}}, true},
    {"bad CRC on the first sending of block 2", with(&BlockFaults::badCrc, {{2, 1}}),
     {{C, "STX 1 ok"}, {ACK, "STX 2 crc"}, {NAK, "STX 2 ok"}, {ACK, "STX 3 ok"}, {ACK, "EOT"}, {ACK, "none"}}, true},
    {"four bad CRCs, a good block, four more", with(&BlockFaults::badCrc, {{1, 4}, {2, 4}}),
     {{C, "STX 1 crc"}, {NAK, "STX 1 crc"}, {NAK, "STX 1 crc"}, {NAK, "STX 1 crc"}, {NAK, "STX 1 ok"},
      {ACK, "STX 2 crc"}, {NAK, "STX 2 crc"}, {NAK, "STX 2 crc"}, {NAK, "STX 2 crc"}, {NAK, "STX 2 ok"},
      {ACK, "STX 3 ok"}, {ACK, "EOT"}, {ACK, "none"}}, true},
    {"bad complement on block 1", with(&BlockFaults::badComplement, {{1, 1}}),
     {{C, "STX 1 cpl"}, {NAK, "STX 1 ok"}, {ACK, "STX 2 ok"}}, false},
    {"wrong start byte with the frame behind it", with(&BlockFaults::wrongStart, {{1, 1}}),
     {{C, "55 frame"}, {NAK, "STX 1 ok"}, {ACK, "STX 2 ok"}}, false},
    {"wrong start byte alone", wrongStartAlone(), {{C, "55 alone"}, {NAK, "STX 1 ok"}}, false},
    {"128-byte block instead of block 3", with(&BlockFaults::shortBlock, {{3, 1}}),
     {{C, "STX 1 ok"}, {ACK, "STX 2 ok"}, {ACK, "SOH 3 ok"}, {NAK, "STX 3 ok"}, {ACK, "EOT"}, {ACK, "none"}}, true},
    {"lost ACK: block 1 comes twice", with(&BlockFaults::lostAck, {{1, 1}}),
     {{C, "STX 1 ok"}, {ACK, "STX 1 ok"}, {ACK, "STX 2 ok"}, {ACK, "STX 3 ok"}, {ACK, "EOT"}, {ACK, "none"}}, true},
    {"stall after block 2", stallAfter(2),
     {{C, "STX 1 ok"}, {ACK, "STX 2 ok"}, {ACK, "none"}, {NAK, "none"}, {NAK, "none"}, {CAN, "none"}, {ACK, "none"}}, false},
    {"early EOT after block 1, sent again when NAKed", earlyEotAfter(1),
     {{C, "STX 1 ok"}, {ACK, "EOT"}, {NAK, "EOT"}, {NAK, "EOT"}, {ACK, "none"}}, true},
    {"EOT in place of block 1", earlyEotAfter(0), {{C, "EOT"}, {NAK, "EOT"}, {ACK, "none"}}, true},
    {"stall before block 1", stallAfter(0), {{C, "none"}, {NAK, "none"}, {NAK, "none"}}, false},
    {"CAN abandons mid-transfer", {}, {{C, "STX 1 ok"}, {CAN, "none"}, {ACK, "none"}, {NAK, "none"}}, false},
    {"any byte but 'C' after the count ends the wait", {}, {{CAN, "none"}, {ACK, "none"}, {NAK, "none"}}, false},
};

TEST(BlockFaults, EachFaultShowsOnTheLineAsNamed) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.legend);
        SimLogger logger;
        logger.setMemoryImage(test::testImage(4, 640, 2900));  // records end in block 3
        logger.setBlockFaults(scenario.faults);
        ASSERT_EQ(logger.receive("copy\r\n"), "2900\r\n");
        for (std::size_t i = 0; i < scenario.steps.size(); ++i)
            EXPECT_EQ(summarize(logger.receive(std::string(1, scenario.steps[i].sent))), scenario.steps[i].answered)
                << "step " << i;
        EXPECT_EQ(logger.transfersCompleted(), scenario.completed ? 1 : 0);
        // The program's way out, CAN and an empty line, finds the logger reading commands again.
        EXPECT_EQ(logger.receive(std::string{CAN} + "\r\n"), "READY\r\n");
    }
}

TEST(BlockFaults, ALostAckRepeatsTheSamePayloadAndTheImageStillArrivesWhole) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(3, 640, 3072));
    logger.setBlockFaults(with(&BlockFaults::lostAck, {{2, 2}}));
    logger.receive("acopy\r\n");
    std::vector<std::string> payloads;
    std::string answer = logger.receive("C");
    while (answer.size() > 1) {
        payloads.push_back(test::payloadOf(answer));
        answer = logger.receive(std::string(1, ACK));
    }
    ASSERT_EQ(payloads.size(), 5u);  // block 2 three times
    EXPECT_EQ(payloads[1], payloads[2]);
    EXPECT_EQ(payloads[2], payloads[3]);
    EXPECT_EQ(payloads[0] + payloads[1] + payloads[4], logger.lastTransferImage());
}

TEST(BlockFaults, RecordNumbersWrapAfter255) {
    BlockSender sender(std::string(257 * 1024, 'r'), {});
    std::string answer = sender.begin();
    for (int block = 1; block < 256; ++block) answer = sender.onByte(ACK);
    EXPECT_EQ(summarize(answer), "STX 0 ok");
    EXPECT_EQ(summarize(sender.onByte(ACK)), "STX 1 ok");
    EXPECT_EQ(summarize(sender.onByte(ACK)), "EOT");
    sender.onByte(ACK);
    EXPECT_EQ(sender.state(), BlockSender::State::Completed);
}

TEST(BlockFaults, ControlBytesAreLoggedSoATestCanSeeWhatTheProgramSent) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(1, 640, 700));
    logger.receive("copy\r\n");
    logger.receive(std::string{C, NAK, ACK, ACK});
    logger.receive(std::string{CAN} + "\r\n");
    EXPECT_THAT(logger.receivedControlBytes(), ::testing::ElementsAre(C, NAK, ACK, ACK, CAN));
    EXPECT_EQ(logger.transfersCompleted(), 1);

    SimLogger busy;
    busy.setMemoryImage(test::testImage(1, 640, 700));
    LoggerFaults faults;
    faults.cardCollectionRunning = true;
    busy.setFaults(faults);
    EXPECT_EQ(busy.receive("copy\r\n"), "BUSY\r\n");
    EXPECT_EQ(busy.receive(std::string{CAN} + "\r\n"), "READY\r\n");
    EXPECT_THAT(busy.receivedControlBytes(), ::testing::ElementsAre(CAN));  // no 'C' was ever taken
}

TEST(BlockFaults, NothingNewAnnouncesTheHeaderAloneToCopyButNotToAcopy) {
    SimLogger logger;
    logger.setMemoryImage(test::testImage(3, 640, 2900));
    LoggerFaults faults;
    faults.nothingNew = true;
    logger.setFaults(faults);
    EXPECT_EQ(logger.receive("copy\r\n"), "640\r\n");
    EXPECT_EQ(logger.receive(std::string{CAN} + "\r\n"), "READY\r\n");
    EXPECT_EQ(logger.receive("acopy\r\n"), "2900\r\n");
}

}  // namespace
}  // namespace fenta21::sim
