// The simulated Hayes modem in command mode.
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
        {"AT\r", "OK\r\n"},         {"ATZ\r", "OK\r\n"},     {"at&f\r", "OK\r\n"},
        {"ATE0V1\r\n", "OK\r\n"},   {"AT", ""},              {"S0=0\r", "OK\r\n"},  // "AT" and "S0=0" are one line
        {"hello\r", ""},            {"\r", ""},              {"\n", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(modem.receive(row.sent), row.answered) << row.sent;
    EXPECT_EQ(modem.receivedLines(), (std::vector<std::string>{"AT", "ATZ", "at&f", "ATE0V1", "ATS0=0", "hello", ""}));
}

TEST(SimModem, EchoFollowsE0E1AndZRestoresIt) {
    SimModem modem(/*echo=*/true);
    EXPECT_EQ(modem.receive("AT\r"), "AT\r\nOK\r\n");
    EXPECT_EQ(modem.receive("ATE0\r"), "ATE0\r\nOK\r\n");  // the command is echoed before it takes effect
    EXPECT_EQ(modem.receive("AT\r"), "OK\r\n");
    EXPECT_EQ(modem.receive("ATD0E1\r"), "OK\r\n");  // a dial string is no echo setting
    EXPECT_FALSE(modem.echoing());
    EXPECT_EQ(modem.receive("ATZ\r"), "OK\r\n");
    EXPECT_EQ(modem.receive("AT\r"), "AT\r\nOK\r\n");
}

TEST(SimModem, SettableRepliesAndFaults) {
    SimModem modem;
    modem.setReply("ATI", "FENTA MODEM 1.0");
    ModemFaults faults;
    faults.errorCommand = "AT&W";
    modem.setFaults(faults);
    EXPECT_EQ(modem.receive("ati\r"), "FENTA MODEM 1.0\r\n");
    EXPECT_EQ(modem.receive("AT&W\r"), "ERROR\r\n");
    faults.silent = true;
    modem.setFaults(faults);
    EXPECT_EQ(modem.receive("AT\r"), "");
    EXPECT_EQ(modem.receivedLines().back(), "AT");
}

}  // namespace
}  // namespace fenta21::sim
