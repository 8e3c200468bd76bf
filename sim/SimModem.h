#pragma once

#include "sim/SimDevice.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21::sim {

// Named faults of the simulated modem.
struct ModemFaults {
    // Answer nothing at all, as a modem that is switched off.
    bool silent = false;
    // Answer this command with "ERROR".
    std::string errorCommand;
};

// A Hayes modem in command mode: every command line beginning "AT" and ended by CR is
// answered "OK" (or its settable reply); other lines are not commands and get no answer.
// Dialling and the loggers behind a connection come later; they fit behind answer().
class SimModem : public SimDevice {
public:
    // `echo`: repeat each command line before the answer, as a modem does until "ATE0".
    explicit SimModem(bool echo = false);

    std::string receive(std::string_view bytes) override;

    // Answer this command (as sent, "ATD0312345678" for example) with this text.
    void setReply(const std::string& command, const std::string& reply);
    void setFaults(const ModemFaults& faults);

    // Every command line received, without its CR, in order.
    std::vector<std::string> receivedLines() const;
    bool echoing() const;

private:
    std::string answer(const std::string& line);

    mutable std::mutex mutex_;
    bool initialEcho_;
    bool echo_;
    std::string pending_;
    std::vector<std::string> received_;
    std::map<std::string, std::string> replies_;
    ModemFaults faults_;
};

}  // namespace fenta21::sim
