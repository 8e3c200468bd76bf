// The direct-link search on a port where a device keeps talking: its modem probe must neither
// hang there nor ignore the cancel button.
#include "core/app/DirectCollection.h"
#include "core/session/SystemSettings.h"
#include "sim/ChattyDevice.h"
#include "tests/support/SimLine.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace fenta21::test {
namespace {

class ChattyPort : public ::testing::Test {
protected:
    ChattyPort() : chattyPort(line.home.file("ttyGPS"), gps) {
        if (!chattyPort.start()) throw std::runtime_error(chattyPort.error());
    }
    SimLine line;
    sim::ChattyDevice gps;
    sim::PtyServer chattyPort;
};

TEST_F(ChattyPort, SearchPassesOverAPortThatKeepsTalkingToTheLoggerOnTheNext) {
    line.home.write("comports.txt", "COM1 " + line.home.file("ttyGPS") + "\nCOM2 " + line.linkPath + "\n");
    line.session->settings.directSpeedIndex = 5;
    EXPECT_EQ(linkUp(*line.session, {}), 0);
    EXPECT_NE(gps.received().find("AT\r"), std::string::npos);  // it was probed
    SystemSettings saved;
    loadSettings(line.home.file("system.dat"), saved);
    EXPECT_EQ(saved.directPortIndex, 1);
}

TEST_F(ChattyPort, CancelDuringTheProbeEndsTheSearchBeforeAnyHandshake) {
    line.home.write("comports.txt", "COM1 " + line.home.file("ttyGPS") + "\n");
    auto search = std::async(std::launch::async, [&] { return linkUp(*line.session, {1, 5}); });
    while (gps.received().find("AT\r") == std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // a few lines into the probe
    line.session->channel()->cancelFlag.store(27);
    EXPECT_EQ(search.get(), 27);
    // Ended inside the probe: the logger's handshake never went out on this port.
    EXPECT_EQ(gps.received().find("CONNECT"), std::string::npos);
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
}

}  // namespace
}  // namespace fenta21::test
