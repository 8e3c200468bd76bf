// The serial channel on a real pseudo-terminal.
#include "core/serial/Channel.h"
#include "core/base/Cp932.h"
#include "tests/support/SimLine.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

TEST(SerialPty, ReadsRepliesAndGivesUpOnLongAndSilentLines) {
    SimLine line;
    line.logger.setReply("memo1", std::string(25, 'm'));
    ASSERT_EQ(line.open(), 1);
    TTYInfo* channel = line.session->channel();
    EXPECT_TRUE(channel->connected.load());
    EXPECT_EQ(line.session->line.speed(), 9600);

    std::string reply;
    sendLineCRLF(channel, "CONNECT");
    EXPECT_EQ(readLineLF(channel, reply, 20), kLineRead);
    EXPECT_EQ(reply, "READY");

    sendLineCRLF(channel, "memo1");
    EXPECT_EQ(readLineLF(channel, reply, 20), kLineFull);
    EXPECT_EQ(reply, std::string(20, 'm'));
    EXPECT_EQ(readLineLF(channel, reply, 20), kLineRead);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readLineLF(channel, reply, 20), kLineTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - start, line.clock.scaled(std::chrono::seconds(2)));
    EXPECT_EQ(closeChannel(channel), 1);
    EXPECT_FALSE(channel->connected.load());
}

TEST(SerialPty, PortThatDoesNotExistIsLoggedWithTheSystemErrorNumber) {
    SimLine line;
    line.home.write("comports.txt", "COM5 " + line.home.file("no-such-device") + "\n");
    EXPECT_EQ(line.open(5), 0);
    EXPECT_FALSE(line.session->channel()->connected.load());
    EXPECT_EQ(line.session->channel()->device, nullptr);
    std::string log = line.home.read("ERR.LOG");
    EXPECT_NE(log.find("COM CreateFile ERROR(2)"), std::string::npos) << log;
}

TEST(SerialPty, ASecondOpenOfAHeldPortIsRefused) {
    SimLine line;
    ASSERT_EQ(line.open(), 1);
    int errorNumber = 0;
    auto second = openTermiosPort(line.linkPath, errorNumber);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(errorNumber, EBUSY);
}

}  // namespace
}  // namespace fenta21::test
