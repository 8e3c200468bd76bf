// The modem on a real pseudo-terminal, driven the way the program drives it: the pauses around
// "+++" are real here, so the escape is seen through the server's reads.
#include "sim/PtyServer.h"
#include "sim/SimModem.h"
#include "tests/unit/sim/PtyClient.h"

#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

using namespace std::chrono_literals;
using test::PtyClient;

class ModemPty : public ::testing::TestWithParam<std::chrono::milliseconds> {
protected:
    void SetUp() override {
        char dirTemplate[] = "/tmp/fenta21-modemtest-XXXXXX";
        ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
        dir = dirTemplate;
        modem.setTimings({GetParam(), 30s});
        server = std::make_unique<PtyServer>((dir / "tty").string(), modem);
        ASSERT_TRUE(server->start()) << server->error();
    }
    void TearDown() override {
        if (server) server->stop();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    SimModem modem{/*echo=*/true};
    std::unique_ptr<PtyServer> server;
};

// The program's hang-up with its pauses on a clock scaled to a twentieth.
TEST_P(ModemPty, CallAndHangUpAsTheProgramDoesThem) {
    RemoteStation& station = modem.addStation("0312345678");
    PtyClient client(server->linkPath(), B19200);
    ASSERT_TRUE(client.isOpen());
    client.write("ATZ\r");
    EXPECT_EQ(client.read(9, 2s), "ATZ\r\nOK\r\n");
    client.write("ATE0\r");
    EXPECT_EQ(client.read(10, 2s), "ATE0\r\nOK\r\n");
    client.write("ATQ1\r");
    client.write("ATDT");
    client.write("0312345678\r");
    EXPECT_EQ(client.readLine(2s), "READY\r\n");
    client.write("eerm0\r\n");
    EXPECT_EQ(client.readLine(2s), "FENTA21-SIM\r\n");
    EXPECT_TRUE(modem.onLine());

    std::this_thread::sleep_for(60ms);
    for (int plus = 0; plus < 3; ++plus) {
        if (plus > 0) std::this_thread::sleep_for(2500us);
        client.write("+");
    }
    std::this_thread::sleep_for(60ms);
    client.write("ATH0\r");
    std::this_thread::sleep_for(10ms);
    client.write("ATZ\r");
    EXPECT_EQ(client.read(4, 2s), "OK\r\n");  // quiet until ATZ
    EXPECT_EQ(modem.hangUps(), 1);
    EXPECT_EQ(modem.connectedNumber(), "");
    EXPECT_EQ(modem.receivedLines().back(), "ATZ");
    EXPECT_EQ(station.logger().receivedLines(), (std::vector<std::string>{"CONNECT", "eerm0"}));
}

INSTANTIATE_TEST_SUITE_P(GuardTimes, ModemPty, ::testing::Values(0ms, 20ms),
                         [](const auto& info) { return "guard" + std::to_string(info.param.count()) + "ms"; });

}  // namespace
}  // namespace fenta21::sim
