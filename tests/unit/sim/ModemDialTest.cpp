// Dialling through the simulated modem: known and unknown numbers, the on-line line to the
// station's logger, and the "+++" escape back to the commands with the call held.
#include "sim/SimModem.h"
#include "tests/unit/sim/FrameSummary.h"
#include "tests/unit/sim/ModemClock.h"
#include "tests/unit/sim/TestImages.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

using namespace std::chrono_literals;
using test::ModemClock;

constexpr char ACK = 0x06;
const std::string kNumber = "0312345678";

TEST(ModemDial, AKnownNumberAnswersWithTheLoggersGreeting) {
    struct Row {
        const char* legend;
        bool quiet;
        std::vector<std::string> reads;
        const char* answered;
        const char* dialled;
    } rows[] = {
        {"tone", false, {"ATDT0312345678\r"}, "CONNECT 9600\r\nREADY\r\n", "0312345678"},
        {"pulse, number in a read of its own", false, {"ATDP", "0312345678\r"}, "CONNECT 9600\r\nREADY\r\n", "0312345678"},
        {"separators are not dialled", false, {"ATDT03-1234-5678\r"}, "CONNECT 9600\r\nREADY\r\n", "03-1234-5678"},
        {"quiet: the remote side speaks alone", true, {"ATDT0312345678\r"}, "READY\r\n", "0312345678"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        SimModem modem;
        modem.setLineSpeed(9600);
        RemoteStation& station = modem.addStation(kNumber);
        if (row.quiet) test::initialiseLikeTheProgram(modem);
        std::string answered;
        for (const std::string& read : row.reads) answered += modem.receive(read);
        EXPECT_EQ(answered, row.answered);
        EXPECT_TRUE(modem.onLine());
        EXPECT_EQ(modem.connectedNumber(), row.dialled);
        EXPECT_EQ(modem.connectedStation(), &station);
        EXPECT_EQ(modem.dialledNumbers(), std::vector<std::string>{row.dialled});
        // The station's modem announced the call to the logger, which answered "READY".
        EXPECT_EQ(station.logger().receivedLines(), std::vector<std::string>{"CONNECT"});
        EXPECT_EQ(station.answerCount(), 1);
    }
}

TEST(ModemDial, ANumberThatDoesNotAnswerRingsThenGivesNoCarrier) {
    struct Row {
        const char* legend;
        bool quiet;
        std::chrono::milliseconds pause;
        const char* next;
        const char* answered;
    } rows[] = {
        {"still ringing: a byte stops the dial", false, 10s, "CONNECT\r\n", "NO CARRIER\r\n"},
        {"ring time over", false, 31s, "AT\r", "NO CARRIER\r\nOK\r\n"},
        {"quiet, still ringing", true, 10s, "CONNECT\r\nAT\r", ""},
        {"quiet, ring time over", true, 31s, "AT\r", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        SimModem modem;
        ModemClock clock(modem);
        modem.addStation(kNumber);
        if (row.quiet) test::initialiseLikeTheProgram(modem);
        EXPECT_EQ(modem.receive("ATDT0399999999\r"), "");
        clock.advance(row.pause);
        EXPECT_EQ(modem.receive(row.next), row.answered);
        EXPECT_FALSE(modem.onLine());
        EXPECT_EQ(modem.connectedNumber(), "");
        EXPECT_EQ(modem.receive("ATQ0\r"), "OK\r\n");  // taking commands again
    }
}

TEST(ModemDial, OnLineEveryByteGoesToTheLoggerAndItsRepliesComeBack) {
    SimModem modem;
    RemoteStation& station = modem.addStation(kNumber);
    station.logger().setMemoryImage(test::testImage(2, 640, 1500));
    test::initialiseLikeTheProgram(modem);
    const auto commandLines = modem.receivedLines().size();

    EXPECT_EQ(modem.receive("ATDT0312345678\r"), "READY\r\n");
    EXPECT_EQ(modem.receive("CONNECT\r\n"), "READY\r\n");
    EXPECT_EQ(modem.receive("eerm0\r\n"), "FENTA21-SIM\r\n");
    EXPECT_EQ(modem.receive("AT\r\n"), "?\r\n");  // the logger's, not the modem's
    EXPECT_EQ(modem.receive("copy\r\n"), "1500\r\n");
    EXPECT_EQ(test::summarize(modem.receive("C")), "STX 1 ok");
    EXPECT_EQ(test::summarize(modem.receive(std::string(1, ACK))), "STX 2 ok");
    EXPECT_EQ(test::summarize(modem.receive(std::string(1, ACK))), "EOT");
    EXPECT_EQ(modem.receive(std::string(1, ACK)), "");
    EXPECT_EQ(station.logger().transfersCompleted(), 1);
    EXPECT_EQ(station.logger().receivedLines(), (std::vector<std::string>{"CONNECT", "CONNECT", "eerm0", "AT", "copy"}));
    EXPECT_EQ(modem.receivedLines().size(), commandLines + 1);  // the dial; nothing on-line
}

// Each step: a pause of silence, then one read.
struct Step {
    std::chrono::milliseconds pause;
    const char* bytes;
};

TEST(ModemDial, EscapeNeedsItsGuardTimesThenAth0HangsUp) {
    struct Row {
        const char* legend;
        std::chrono::milliseconds guard;
        std::vector<Step> steps;
        const char* loggerHeard;  // nullptr: it was an escape and ATH0 ended the call
    } rows[] = {
        {"pluses in reads of their own", 0ms, {{1000ms, "+"}, {50ms, "+"}, {50ms, "+"}, {1000ms, "ATH0\r"}}, nullptr},
        {"all three in one read", 0ms, {{1000ms, "+++"}, {1000ms, "ATH0\r"}}, nullptr},
        {"no read boundary after", 0ms, {{1000ms, "+++ATH0\r"}}, "+++ATH0"},
        {"no read boundary before", 0ms, {{1000ms, "x+++"}, {1000ms, "ATH0\r"}}, "x+++ATH0"},
        {"the program's pauses", 500ms, {{1200ms, "+"}, {50ms, "+"}, {50ms, "+"}, {1200ms, "ATH0\r"}}, nullptr},
        {"the redial's pauses", 500ms, {{1000ms, "+"}, {50ms, "+"}, {50ms, "+"}, {1000ms, "ATH0\r\n"}}, nullptr},
        {"too soon before", 500ms, {{100ms, "+"}, {50ms, "+"}, {50ms, "+"}, {1200ms, "ATH0\r"}}, "+++ATH0"},
        {"too soon after", 500ms, {{1200ms, "+"}, {50ms, "+"}, {50ms, "+"}, {100ms, "ATH0\r"}}, "+++ATH0"},
        {"pluses too far apart", 500ms, {{1200ms, "+"}, {600ms, "+"}, {50ms, "+"}, {1200ms, "ATH0\r"}}, "+++ATH0"},
        {"a fourth plus", 500ms, {{1200ms, "+"}, {50ms, "+"}, {50ms, "+"}, {50ms, "+"}, {1200ms, "ATH0\r"}}, "++++ATH0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.legend);
        SimModem modem;
        ModemClock clock(modem);
        modem.setTimings({row.guard, 30s});
        RemoteStation& station = modem.addStation(kNumber);
        test::initialiseLikeTheProgram(modem);
        modem.receive("ATDT0312345678\r");
        for (const Step& step : row.steps) {
            clock.advance(step.pause);
            modem.receive(step.bytes);
        }
        const std::vector<std::string> heard = station.logger().receivedLines();
        if (row.loggerHeard == nullptr) {
            EXPECT_EQ(modem.hangUps(), 1);
            EXPECT_EQ(modem.connectedNumber(), "");
            EXPECT_EQ(heard, std::vector<std::string>{"CONNECT"});  // no plus reached it
            EXPECT_EQ(modem.receivedLines().back(), "ATH0");
        } else {
            EXPECT_EQ(modem.hangUps(), 0);
            EXPECT_TRUE(modem.onLine());
            EXPECT_EQ(heard.back(), row.loggerHeard);
        }
    }
}

TEST(ModemDial, HeldCallResumesWithAtoAndEndsWithAtz) {
    SimModem modem;
    ModemClock clock(modem);
    modem.setLineSpeed(9600);
    RemoteStation& station = modem.addStation(kNumber);
    EXPECT_EQ(modem.receive("ATDT0312345678\r"), "CONNECT 9600\r\nREADY\r\n");
    auto escape = [&] {
        clock.advance(1s);
        modem.receive("+++");
        clock.advance(1s);
    };
    escape();
    EXPECT_EQ(modem.receive("AT\r"), "OK\r\nOK\r\n");  // the escape's OK comes with the next answer
    EXPECT_FALSE(modem.onLine());
    EXPECT_EQ(modem.connectedNumber(), kNumber);  // held, not ended
    EXPECT_EQ(modem.receive("ATDT0312345678\r"), "ERROR\r\n");  // one call at a time
    EXPECT_EQ(modem.receive("ATO\r"), "CONNECT 9600\r\n");
    EXPECT_EQ(modem.receive("eerm0\r"), "FENTA21-SIM\r\n");
    escape();
    EXPECT_EQ(modem.receive("ATZ\r"), "OK\r\nOK\r\n");
    EXPECT_EQ(modem.hangUps(), 1);
    EXPECT_EQ(modem.connectedStation(), nullptr);
    EXPECT_EQ(modem.receive("ATO\r"), "NO CARRIER\r\n");
    EXPECT_EQ(station.logger().receivedLines(), (std::vector<std::string>{"CONNECT", "eerm0"}));
}

// The bytes the program sends, with its pauses: initialise, dial, collect nothing, hang up with
// "+++", "ATH0" and "ATZ"; then the same again. The second call must find the logger as clean
// as the first.
TEST(ModemDial, TheProgramsCallAndHangUpLeaveTheLineReadyForTheNextCall) {
    SimModem modem(/*echo=*/true);
    ModemClock clock(modem);
    modem.setTimings({500ms, 30s});
    RemoteStation& station = modem.addStation(kNumber);
    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        EXPECT_EQ(modem.receive("ATZ\r"), "ATZ\r\nOK\r\n");
        EXPECT_EQ(modem.receive("ATE0\r"), "ATE0\r\nOK\r\n");
        for (const char* command : {"ATX3\r", "ATQ1\r", "AT\\N2\r"}) {
            clock.advance(1s);
            modem.receive(command);
        }
        modem.receive("ATDT");
        EXPECT_EQ(modem.receive("0312345678\r"), "READY\r\n");
        EXPECT_EQ(modem.receive("comtm=0\r\n"), "OK\r\n");
        for (const Step& step : {Step{1200ms, "+"}, Step{50ms, "+"}, Step{50ms, "+"}, Step{1200ms, "ATH0\r"}, Step{200ms, "ATZ\r"}}) {
            clock.advance(step.pause);
            EXPECT_EQ(modem.receive(step.bytes), std::string(step.bytes) == "ATZ\r" ? "OK\r\n" : "");
        }
        EXPECT_EQ(modem.hangUps(), call);
    }
    EXPECT_EQ(station.logger().receivedLines(), (std::vector<std::string>{"CONNECT", "comtm=0", "CONNECT", "comtm=0"}));
}

}  // namespace
}  // namespace fenta21::sim
