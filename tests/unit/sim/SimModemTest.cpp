// The simulated Hayes modem in command mode: what it takes as a command, echo, quiet mode,
// settable replies and the modem's own faults.
#include "sim/SimModem.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

TEST(SimModem, AnswersCommandLinesEndedByCr) {
    SimModem modem;
    struct Row {
        const char* sent;
        const char* answered;
    } rows[] = {
        {"AT\r", "OK\r\n"},       {"ATZ\r", "OK\r\n"},   {"at&f\r", "OK\r\n"},
        {"ATE0V1\r\n", "OK\r\n"}, {"AT", ""},            {"S0=0\r", "OK\r\n"},  // "AT" and "S0=0" are one line
        {"hello\r", ""},          {"\r", ""},            {"\n", ""},
        // Pluses sent to a modem that is already taking commands are skipped like line noise.
        {"+++ATH0\r", "OK\r\n"},  {"\x18\x18" "AT\r", "OK\r\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(modem.receive(row.sent), row.answered) << row.sent;
    EXPECT_EQ(modem.receivedLines(),
              (std::vector<std::string>{"AT", "ATZ", "at&f", "ATE0V1", "ATS0=0", "hello", "", "ATH0", "AT"}));
}

TEST(SimModem, EchoAndQuietFollowTheirCommandsAndZRestoresThePowerOnSettings) {
    struct Row {
        const char* sent;
        const char* answered;
    } rows[] = {
        {"AT\r", "AT\r\nOK\r\n"},
        {"ATE0\r", "ATE0\r\nOK\r\n"},  // echoed before it takes effect
        {"AT\r", "OK\r\n"},
        {"ATQ1\r", ""},  // quiet at once: not even its own OK
        {"ATX3\r", ""},
        {"AT\\N2\r", ""},
        {"ATE1\r", ""},
        {"AT\r", "AT\r\n"},  // echo is no result code
        {"ATQ0\r", "ATQ0\r\nOK\r\n"},
        {"ATE0Q1\r", "ATE0Q1\r\n"},
        {"ATZ\r", "OK\r\n"},
        {"AT\r", "AT\r\nOK\r\n"},
    };
    SimModem modem(/*echo=*/true);
    for (const Row& row : rows) EXPECT_EQ(modem.receive(row.sent), row.answered) << row.sent;
    EXPECT_TRUE(modem.echoing());
    EXPECT_FALSE(modem.quiet());

    SimModem silentAtPowerOn;
    silentAtPowerOn.receive("ATE1\r");
    silentAtPowerOn.receive("ATZ\r");
    EXPECT_FALSE(silentAtPowerOn.echoing());
}

TEST(SimModem, SettableRepliesAndFaults) {
    SimModem modem;
    modem.addStation("0312345678");
    modem.setReply("ATI", "FENTA MODEM 1.0");
    ModemFaults faults;
    faults.errorCommand = "AT&W";
    modem.setFaults(faults);
    EXPECT_EQ(modem.receive("ati\r"), "FENTA MODEM 1.0\r\n");
    EXPECT_EQ(modem.receive("AT&W\r"), "ERROR\r\n");
    faults.silent = true;
    modem.setFaults(faults);
    EXPECT_EQ(modem.receive("AT\r"), "");
    EXPECT_EQ(modem.receive("ATDT0312345678\r"), "");  // switched off: it does not dial either
    EXPECT_FALSE(modem.onLine());
    EXPECT_EQ(modem.receivedLines().back(), "ATDT0312345678");

    // Switched off in mid-call: the call is lost and the logger hears nothing more.
    modem.setFaults({});
    ASSERT_NE(modem.receive("ATDT0312345678\r"), "");
    faults.silent = true;
    modem.setFaults(faults);
    EXPECT_EQ(modem.receive("eerm0\r\n"), "");
    EXPECT_FALSE(modem.onLine());
    EXPECT_EQ(modem.droppedCalls(), 1);
}

}  // namespace
}  // namespace fenta21::sim
