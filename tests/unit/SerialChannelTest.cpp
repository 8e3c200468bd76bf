// The serial channel over a scripted device: line readers, writes, purge, errors, capture.
#include "core/serial/Channel.h"
#include "core/serial/ComPortMap.h"
#include "core/serial/OutputDrain.h"
#include "tests/support/FakePort.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

std::string capturedText(CaptureQueue& queue, CaptureDirection direction) {
    std::string text;
    for (auto entry : queue.drain())
        if (entry.direction == direction) text.push_back(static_cast<char>(entry.byte));
    return text;
}

class SerialChannel : public ::testing::Test {
protected:
    SerialChannel() {
        ChannelEnvironment env;
        env.clock = &clock;
        env.logError = [this](const std::string& text) { errors.push_back(text); };
        env.speedOpened = [this](std::int32_t speed) { lineSpeed.store(speed); };
        env.openPort = [this](const std::string& path, int& errorNumber) -> std::unique_ptr<PortDevice> {
            openedPaths.push_back(path);
            if (path == "/dev/missing") {
                errorNumber = ENOENT;
                return nullptr;
            }
            return std::make_unique<FakePort>(script);
        };
        channel = createChannel(std::move(env));
        channel->deviceOverride = "/dev/fake";
    }

    TestClock clock{0.001};
    std::shared_ptr<FakePort::Script> script = std::make_shared<FakePort::Script>();
    std::vector<std::string> errors;
    std::vector<std::string> openedPaths;
    std::atomic<std::int32_t> lineSpeed{-1};
    std::unique_ptr<TTYInfo> channel;
};

TEST_F(SerialChannel, ReadLineLFDropsCRAndReadLineCRDropsLF) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    std::string line;
    FakePort::feed(*script, "READY\r\n");
    EXPECT_EQ(readLineLF(channel.get(), line, 20), kLineRead);
    EXPECT_EQ(line, "READY");

    FakePort::feed(*script, "READY\r\nOK\r");
    EXPECT_EQ(readLineCR(channel.get(), line, 20), kLineRead);
    EXPECT_EQ(line, "READY");
    EXPECT_EQ(readLineCR(channel.get(), line, 20), kLineRead);  // the LF was dropped
    EXPECT_EQ(line, "OK");
}

TEST_F(SerialChannel, LineReadersReportFullBufferAndTimeout) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    std::string line;
    FakePort::feed(*script, std::string(25, 'x'));
    EXPECT_EQ(readLineLF(channel.get(), line, 20), kLineFull);
    EXPECT_EQ(line.size(), 20u);
    EXPECT_EQ(readLineLF(channel.get(), line, 20), kLineTimeout);  // 5 bytes and then silence
    EXPECT_EQ(line, "xxxxx");
}

TEST_F(SerialChannel, SendsLinesByteByByteWithTheirEndingsAndCapturesThem) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    EXPECT_EQ(lineSpeed.load(), 9600);
    sendLineCRLF(channel.get(), "copy");
    sendLineCR(channel.get(), "ATZ");
    sendByte(channel.get(), 0x06);
    EXPECT_EQ(script->written, "copy\r\nATZ\r\x06");
    EXPECT_EQ(capturedText(channel->capture, CaptureDirection::Sent), "copy\r\nATZ\r\x06");
    EXPECT_TRUE(channel->capture.takeSentActivity());
    EXPECT_FALSE(channel->capture.takeSentActivity());
    EXPECT_FALSE(channel->capture.takeReceivedActivity());
}

TEST_F(SerialChannel, PurgeReadsExactlyWhatIsWaitingAndCapturesIt) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    purgeInput(channel.get());
    EXPECT_EQ(script->reads, 0);  // nothing waiting: nothing read
    FakePort::feed(*script, "noise");
    purgeInput(channel.get());
    EXPECT_EQ(inputQueueCount(channel.get()), 0);
    EXPECT_EQ(capturedText(channel->capture, CaptureDirection::Received), "noise");
}

TEST_F(SerialChannel, ReadErrorsBecomeCaptureMarkersAndShortCounts) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    script->failReads = true;
    std::uint8_t byte;
    EXPECT_EQ(readBytes(channel.get(), &byte, 1), 0u);
    EXPECT_EQ(capturedText(channel->capture, CaptureDirection::Received), "<CE-5>");
    channel->displayErrors.store(false);
    EXPECT_EQ(readBytes(channel.get(), &byte, 1), 0u);
    EXPECT_EQ(channel->capture.size(), 0u);
}

TEST_F(SerialChannel, MissingPortLogsTheSystemErrorAndLeavesNothingOpen) {
    channel->deviceOverride = "/dev/missing";
    EXPECT_EQ(openChannel(channel.get()), 0);
    EXPECT_THAT(errors, ElementsAre("COM CreateFile ERROR(2)"));
    EXPECT_FALSE(channel->connected.load());
    EXPECT_EQ(channel->device, nullptr);
    std::uint8_t byte;
    EXPECT_EQ(readBytes(channel.get(), &byte, 1), 0u);
    EXPECT_EQ(writeBytes(channel.get(), &byte, 1), 0);
}

TEST_F(SerialChannel, FailedLineSetupClosesThePortAndLogs) {
    script->failConfigure = true;
    EXPECT_EQ(openChannel(channel.get()), 0);
    EXPECT_THAT(errors, ElementsAre("SetupConnection ERROR(22)"));
    EXPECT_TRUE(script->closed);
    EXPECT_FALSE(channel->connected.load());
}

TEST_F(SerialChannel, ReopeningClosesThePreviousDeviceAndCloseTwiceIsHarmless) {
    ASSERT_EQ(openChannel(channel.get()), 1);
    auto first = script;
    script = std::make_shared<FakePort::Script>();
    ASSERT_EQ(openChannel(channel.get()), 1);
    EXPECT_TRUE(first->closed);
    EXPECT_EQ(closeChannel(channel.get()), 1);
    EXPECT_EQ(closeChannel(channel.get()), 1);
    EXPECT_TRUE(script->closed);
}

TEST_F(SerialChannel, NoRecordMeansZeroEverywhere) {
    std::string line;
    std::uint8_t byte = 0;
    EXPECT_EQ(openChannel(nullptr), 0);
    EXPECT_EQ(closeChannel(nullptr), 0);
    EXPECT_EQ(readBytes(nullptr, &byte, 1), 0u);
    EXPECT_EQ(writeBytes(nullptr, &byte, 1), 0);
    EXPECT_EQ(inputQueueCount(nullptr), 0);
    EXPECT_EQ(readLineLF(nullptr, line, 10), kLineTimeout);
    std::unique_ptr<TTYInfo> none;
    EXPECT_EQ(destroyChannel(none), 0);
}

TEST_F(SerialChannel, WaitTenthsStopsOnCancel) {
    EXPECT_EQ(waitTenths(channel.get(), 3), 0);
    channel->cancelFlag.store(kCancelled);
    EXPECT_EQ(waitTenths(channel.get(), 1000), kCancelled);
}

TEST(CaptureQueueOverflow, DropsTheOldestAndKeepsEntriesWhole) {
    CaptureQueue queue;
    std::vector<std::uint8_t> bytes(CaptureQueue::kCapacity + 10);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    queue.capture(bytes.data(), bytes.size(), CaptureDirection::Received);
    queue.addGap();
    EXPECT_EQ(queue.size(), CaptureQueue::kCapacity);
    EXPECT_EQ(queue.droppedEntries(), 11u);
    auto entries = queue.drain();
    ASSERT_EQ(entries.size(), CaptureQueue::kCapacity);
    EXPECT_EQ(entries.front().byte, static_cast<std::uint8_t>(11));  // the oldest 11 went
    EXPECT_EQ(entries.front().direction, CaptureDirection::Received);
    EXPECT_EQ(entries[entries.size() - 2].byte, static_cast<std::uint8_t>(bytes.size() - 1));
    EXPECT_EQ(entries.back().direction, CaptureDirection::Gap);
    EXPECT_EQ(queue.size(), 0u);
}

// Before a close: output that leaves in time is waited for and kept; output held by flow
// control is discarded once the wait is over, so that the system's close does not wait for it.
TEST(OutputDrain, WaitsForOutputThatLeavesAndDiscardsOutputThatCannot) {
    int queued = 3, pauses = 0, discards = 0;
    auto discard = [&] { ++discards; };
    EXPECT_TRUE(drainOrDiscardOutput([&] { return queued; }, discard, [&] { ++pauses, --queued; }, 10));
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(discards, 0);

    queued = 5, pauses = 0;
    EXPECT_FALSE(drainOrDiscardOutput([&] { return queued; }, discard, [&] { ++pauses; }, 10));
    EXPECT_EQ(pauses, 10);
    EXPECT_EQ(discards, 1);
}

TEST(ComPortMapFile, MapsPortsIgnoresCommentsAndNamesBadLines) {
    auto map = ComPortMap::parse("# ports of this station\nCOM1 /dev/ttyUSB0\n  com3\t/dev/pts/7  # modem\n"
                                 "COM0 /dev/x\nCOM2\nLPT1 /dev/lp0\nCOM12 /dev/y\n");
    EXPECT_EQ(map.mappedPath(1), "/dev/ttyUSB0");
    EXPECT_EQ(map.mappedPath(3), "/dev/pts/7");
    EXPECT_EQ(map.mappedPath(2), "");
    EXPECT_EQ(map.devicePath(10), "");
    EXPECT_THAT(map.problems(), ElementsAre("line 4: COM0 /dev/x (only COM1 to COM9 can be mapped)",
                                            "line 5: COM2 (no device given)", "line 6: LPT1 /dev/lp0 (not a COM port)",
                                            "line 7: COM12 /dev/y (only COM1 to COM9 can be mapped)"));
    EXPECT_EQ(map.problemFor(2), "line 5: COM2 (no device given)");
    EXPECT_EQ(map.problemFor(1), "");
}

// The system has three adapters; the file maps some of them.
class ComPortFallback : public ::testing::Test {
protected:
    ComPortFallback() {
        for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyACM0"}) {
            home.write(name, "");
            adapters.push_back(home.file(name));
        }
        std::filesystem::create_symlink(home.file("ttyUSB1"), home.file("by-id-ftdi"));
    }
    TempHome home;
    std::vector<std::string> adapters;
};

TEST_F(ComPortFallback, WithoutAFileThePortsAreTheAdaptersInOrder) {
    ComPortMap map = ComPortMap::parse("");
    EXPECT_EQ(map.devicePath(1, adapters), adapters[0]);
    EXPECT_EQ(map.devicePath(3, adapters), adapters[2]);
    EXPECT_EQ(map.devicePath(4, adapters), "");
}

TEST_F(ComPortFallback, AMappedAdapterNeverAnswersUnderASecondNumber) {
    // ttyUSB1 is COM1 under its stable name; the free numbers take the other two.
    ComPortMap map = ComPortMap::parse("COM1 " + home.file("by-id-ftdi") + "\n");
    std::vector<std::string> seen;
    for (int port = 1; port <= ComPortMap::kPorts; ++port) seen.push_back(map.devicePath(port, adapters));
    EXPECT_THAT(seen, ElementsAre(home.file("by-id-ftdi"), adapters[0], adapters[2], "", "", "", "", "", ""));
}

TEST_F(ComPortFallback, ARefusedLineLeavesItsNumberWithoutADevice) {
    ComPortMap map = ComPortMap::parse("COM2\nCOM3 " + adapters[0] + "\nCOM4 " + home.file("by-id-ftdi") +
                                       "\nCOM5 " + adapters[1] + "\nCOM6 /dev/a\nCOM6 /dev/b\n");
    EXPECT_EQ(map.devicePath(2, adapters), "");  // no guess behind a line without a device
    EXPECT_EQ(map.devicePath(5, adapters), "");
    EXPECT_EQ(map.problemFor(5), "line 4: COM5 " + adapters[1] + " (the device is already COM4)");
    EXPECT_EQ(map.devicePath(6, adapters), "");
    EXPECT_EQ(map.problemFor(6), "line 6: COM6 /dev/b (COM6 is mapped twice)");
    EXPECT_EQ(map.devicePath(1, adapters), adapters[2]);  // the one adapter no line names
}

TEST_F(ComPortFallback, ARefusedNumberIsNotOpenedAndItsReasonIsLogged) {
    home.write("comports.txt", "COM1\n");
    TestClock clock;
    std::vector<std::string> errors, opened;
    ChannelEnvironment env;
    env.clock = &clock;
    env.portMapFile = home.file("comports.txt");
    env.logError = [&](const std::string& text) { errors.push_back(text); };
    env.openPort = [&](const std::string& path, int& errorNumber) -> std::unique_ptr<PortDevice> {
        opened.push_back(path);
        errorNumber = ENOENT;
        return nullptr;
    };
    auto channel = createChannel(std::move(env));
    channel->portNumber.store(1);
    EXPECT_EQ(openChannel(channel.get()), 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_THAT(errors, ElementsAre("comports.txt line 1: COM1 (no device given)", "COM CreateFile ERROR(2)"));
}

}  // namespace
}  // namespace fenta21::test
