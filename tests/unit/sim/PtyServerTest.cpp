// The server on a real pseudo-terminal: the speed the device is told, pacing, and handing the
// line to an external sender. Short data only, so these stay fast.
#include "sim/LineTime.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "tests/unit/sim/FrameSummary.h"
#include "tests/unit/sim/PtyClient.h"
#include "tests/unit/sim/TestImages.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

using namespace std::chrono_literals;
using test::PtyClient;

class PtyLine : public ::testing::Test {
protected:
    void SetUp() override {
        char dirTemplate[] = "/tmp/fenta21-simtest-XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        dir = dirTemplate;
        server = std::make_unique<PtyServer>((dir / "tty").string(), logger);
        ASSERT_TRUE(server->start()) << server->error();
    }
    void TearDown() override {
        if (server) server->stop();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    SimLogger logger;
    std::unique_ptr<PtyServer> server;
};

TEST_F(PtyLine, TheDeviceHearsTheSpeedTheProgramSet) {
    logger.answerOnlyAtSpeed(9600);
    PtyClient client(server->linkPath(), B4800);
    ASSERT_TRUE(client.isOpen());
    client.write("CONNECT\r\n");
    EXPECT_EQ(client.read(7, 300ms), "");
    EXPECT_EQ(server->lineSpeed(), 4800u);

    client.setSpeed(B9600);
    client.write("CONNECT\r\n");
    EXPECT_EQ(client.readLine(2s), "READY\r\n");
    EXPECT_EQ(server->lineSpeed(), 9600u);
}

TEST_F(PtyLine, PacedAnswersArriveNoSoonerThanTheLineCarriesThem) {
    constexpr std::uint32_t kPace = 96000;  // 9600 bytes a second
    logger.setTextListing(std::vector<std::string>(20, std::string(48, 'x')));
    const std::size_t total = 20 * 50 + 5;  // the lines with CR LF, and "END\r\n"
    server->setPace(kPace);
    PtyClient client(server->linkPath());
    const auto start = std::chrono::steady_clock::now();
    client.write("text\r\n");
    const std::string got = client.read(total, 5s);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(got.size(), total);
    EXPECT_GE(elapsed, lineTime(total, kPace));
    EXPECT_LT(elapsed, lineTime(total, kPace) * 10);  // paced, not stuck
}

TEST_F(PtyLine, HandOffGivesTheLineToAProgramAndTakesItBack) {
    logger.setReply("copy", "2048");
    logger.handOffCopyTo({"/bin/sh", "-c", "read line; echo \"sender got $line\""});
    PtyClient client(server->linkPath());
    client.write("copy\r\n");
    EXPECT_EQ(client.readLine(2s), "2048\r\n");
    client.write("hello\n");
    EXPECT_EQ(client.readLine(5s), "sender got hello\n");
    client.write("CONNECT\r\n");
    EXPECT_EQ(client.readLine(5s), "READY\r\n");
    EXPECT_EQ(logger.transfersCompleted(), 1);
    EXPECT_EQ(logger.receivedLines(), (std::vector<std::string>{"copy", "CONNECT"}));  // hello went to the sender
}

TEST_F(PtyLine, StoppingEndsAHandOffThatWaitsForever) {
    logger.setReply("copy", "2048");
    logger.handOffCopyTo({"/bin/sh", "-c", "exec sleep 60"});
    PtyClient client(server->linkPath());
    client.write("copy\r\n");
    EXPECT_EQ(client.readLine(2s), "2048\r\n");
    std::this_thread::sleep_for(100ms);
    const auto start = std::chrono::steady_clock::now();
    server->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(logger.transfersCompleted(), 0);
}

// Debian's lrzsz XMODEM sender in the logger's place: the same blocks the logger would send.
TEST_F(PtyLine, LrzszSenderServesTheCopy) {
    if (::access("/usr/bin/sx", X_OK) != 0) GTEST_SKIP() << "lrzsz's sx is not installed";
    const std::string image = test::testImage(2, 640, 2048);
    const std::string file = (dir / "image.bin").string();
    std::ofstream(file, std::ios::binary) << image;
    logger.setMemoryImage(image);
    logger.handOffCopyTo({"/usr/bin/sx", "-k", file});

    PtyClient client(server->linkPath());
    client.write("copy\r\n");
    EXPECT_EQ(client.readLine(2s), "2048\r\n");
    std::this_thread::sleep_for(100ms);
    client.write("C");
    std::string received;
    for (int block = 1; block <= 2; ++block) {
        const std::string frame = client.read(1029, 10s);
        ASSERT_EQ(test::summarize(frame), "STX " + std::to_string(block) + " ok");
        received += test::payloadOf(frame);
        client.write("\x06");
    }
    EXPECT_EQ(client.read(1, 10s), "\x04");
    client.write("\x06");
    EXPECT_EQ(received, image);

    // Bytes that reach sx between the last ACK and its exit are its to drop, so wait for the
    // server to take the line back (the program pauses two seconds here anyway).
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (logger.transfersCompleted() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    client.write("clear\r\n");
    EXPECT_EQ(client.readLine(10s), "OK\r\n");
    EXPECT_EQ(logger.collectedMark(), 2048u);
}

}  // namespace
}  // namespace fenta21::sim
