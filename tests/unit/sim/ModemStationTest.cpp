// Remote stations behind the simulated modem: units with their own loggers, and the faults of
// a station and its line.
#include "sim/SimModem.h"
#include "tests/unit/sim/FrameSummary.h"
#include "tests/unit/sim/ModemClock.h"
#include "tests/unit/sim/TestImages.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

using namespace std::chrono_literals;
using test::ModemClock;

constexpr char ACK = 0x06, CAN = 0x18;
const std::string kNumber = "0312345678";
const std::string kDial = "ATDT0312345678\r";

// Collects through the modem, acknowledging every block: the payloads received.
std::string collect(SimModem& modem) {
    std::string payloads;
    std::string answer = modem.receive("C");
    for (int guard = 0; answer.size() > 1 && guard < 100; ++guard) {
        payloads += test::payloadOf(answer);
        answer = modem.receive(std::string(1, ACK));
    }
    modem.receive(std::string(1, ACK));  // for the EOT
    return payloads;
}

TEST(ModemStation, UnitsHaveTheirOwnLoggersAndImages) {
    SimModem modem;
    RemoteStation& station = modem.addStation(kNumber, 3);
    const std::string first = test::testImage(1, 640, 900), third = test::testImage(2, 640, 1800);
    station.unit(1).setMemoryImage(first);
    station.unit(3).setMemoryImage(third);
    test::initialiseLikeTheProgram(modem);
    EXPECT_EQ(modem.receive(kDial), "READY\r\n");

    EXPECT_EQ(modem.receive("_COM0\r\n"), "READY\r\n");
    EXPECT_EQ(modem.receive("copy\r\n"), "900\r\n");
    const std::string fromFirst = collect(modem);
    EXPECT_EQ(modem.receive("_COM2\r\n"), "READY\r\n");
    EXPECT_EQ(modem.receive("copy\r\n"), "1800\r\n");
    const std::string fromThird = collect(modem);
    EXPECT_EQ(fromFirst, station.unit(1).lastTransferImage());
    EXPECT_EQ(fromThird, station.unit(3).lastTransferImage());
    EXPECT_NE(fromFirst, fromThird);

    EXPECT_EQ(modem.receive("_COM3\r\n"), "");  // no fourth unit: the selection stays
    EXPECT_EQ(station.selectedUnit(), 3);
    EXPECT_EQ(station.unit(3).receivedLines(), (std::vector<std::string>{"_COM2", "copy", "_COM3"}));
    EXPECT_TRUE(station.unit(2).receivedLines().empty());
    EXPECT_THROW(station.unit(4), std::out_of_range);
}

// Each step: what the program sends after a pause, and what comes back.
struct Step {
    std::string sent;
    std::string answered;
    std::chrono::milliseconds pause = 0ms;
};

// The escape and ATH0 of a program that gives up an attempt (quiet: nothing comes back).
const std::vector<Step> kHangUp = {{"+++", "", 1s}, {"ATH0\r", "", 1s}};

TEST(ModemStation, AnsweringFaults) {
    struct Row {
        const char* legend;
        StationFaults faults;
        std::vector<std::vector<Step>> script;
        int dials, answers;
        bool onLineAtEnd = true;
    } rows[] = {
        {"CAN lines, then READY", {.canLines = 2}, {{{kDial, "CAN\r\nCAN\r\nREADY\r\n"}}}, 1, 1},
        {"CAN, then READY on the next CONNECT",
         {.canLines = 1, .silentAnswer = true},
         {{{kDial, "CAN\r\n"}, {"CONNECT\r\n", "READY\r\n"}}},
         1, 1},
        {"silent answer", {.silentAnswer = true}, {{{kDial, ""}, {"CONNECT\r\n", "READY\r\n"}}}, 1, 1},
        {"+++ line on the first answer", {.plusLineAnswers = 1}, {{{kDial, "+++\r\n"}}, kHangUp, {{kDial, "READY\r\n"}}}, 2, 2},
        {"answers the second dial only",
         {.unansweredDials = 1},
         {{{kDial, ""}, {"CONNECT\r\n", "", 90s}, {"CONNECT\r\n", ""}}, kHangUp, {{"ATZ\r", "OK\r\n"}, {kDial, "CONNECT 9600\r\nREADY\r\n"}}},
         2, 1},
        {"never answers", {.neverAnswers = true}, {{{kDial, ""}, {"CONNECT\r\n", "", 90s}}, kHangUp, {{kDial, ""}}}, 2, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        SimModem modem;
        ModemClock clock(modem);
        modem.setLineSpeed(9600);
        RemoteStation& station = modem.addStation(kNumber);
        station.setFaults(row.faults);
        test::initialiseLikeTheProgram(modem);
        for (const auto& part : row.script)
            for (const Step& step : part) {
                clock.advance(step.pause);
                EXPECT_EQ(modem.receive(step.sent), step.answered) << step.sent;
            }
        EXPECT_EQ(station.dialCount(), row.dials);
        EXPECT_EQ(station.answerCount(), row.answers);
        EXPECT_EQ(modem.onLine(), row.onLineAtEnd);
    }
}

TEST(ModemStation, LineDropsMidTransferAndTheNextCallIsClean) {
    SimModem modem;
    modem.setLineSpeed(9600);
    RemoteStation& station = modem.addStation(kNumber);
    station.logger().setMemoryImage(test::testImage(4, 640, 4000));
    station.setFaults({.dropAfterBytes = 2500});

    EXPECT_EQ(modem.receive(kDial), "CONNECT 9600\r\nREADY\r\n");
    std::size_t carried = 7;  // READY CR LF
    std::string lastAnswer;
    for (const std::string& sent : {std::string("copy\r\n"), std::string("C"), std::string(1, ACK), std::string(1, ACK)}) {
        lastAnswer = modem.receive(sent);
        carried += sent.size() + lastAnswer.size();
    }
    const std::string lost = "NO CARRIER\r\n";
    ASSERT_GE(lastAnswer.size(), lost.size());
    EXPECT_EQ(lastAnswer.substr(lastAnswer.size() - lost.size()), lost);
    EXPECT_EQ(carried - lost.size(), 2500u);  // the block was cut where the line dropped
    EXPECT_FALSE(modem.onLine());
    EXPECT_EQ(modem.droppedCalls(), 1);
    EXPECT_EQ(modem.hangUps(), 0);

    // Nothing more reaches the logger, which gave up its transfer when the call ended.
    EXPECT_EQ(modem.receive(std::string(1, ACK)), "");
    EXPECT_FALSE(station.logger().transferPending());
    EXPECT_EQ(station.logger().receivedControlBytes().back(), CAN);
    EXPECT_EQ(station.logger().transfersCompleted(), 0);

    station.setFaults({});
    EXPECT_EQ(modem.receive(kDial), "CONNECT 9600\r\nREADY\r\n");
    EXPECT_EQ(modem.receive("copy\r\n"), "4000\r\n");  // the mark did not move
    EXPECT_EQ(collect(modem).size(), 4096u);
    EXPECT_EQ(station.logger().receivedLines(), (std::vector<std::string>{"CONNECT", "copy", "CONNECT", "copy"}));
}

}  // namespace
}  // namespace fenta21::sim
