#pragma once

#include "sim/SimDevice.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::sim {

// Named faults a test switches on in one line. Each applies to the commands it names
// (an empty command name means every command).
struct LoggerFaults {
    // Stay silent to everything, the wake-up included.
    bool silent = false;
    // Answer this command only at its n-th sending (earlier sendings get no reply).
    std::string answerOnNthCommand;
    int answerOnNth = 0;
    // Never answer this command, but answer an empty line (the wake-up) with "READY".
    std::string wakeUpOnlyCommand;
    // Answer this command with "?".
    std::string questionCommand;
    // Bytes sent just before every reply (line noise).
    std::string noiseBeforeReply;
    // Answer this command with a reply of this many characters (longer than a caller's buffer).
    std::string longReplyCommand;
    int longReplyLength = 0;
    // Answer "CONNECT" with this text instead of "READY" (for example "READY ").
    std::optional<std::string> connectReply;
};

// One logger unit's protocol state. It takes bytes and gives bytes, and never touches a
// port, so a unit test can drive it directly; PtyServer puts it on a pseudo-terminal.
class SimLogger : public SimDevice {
public:
    SimLogger();

    // Feeds bytes received from the line; returns the bytes to send back.
    std::string receive(std::string_view bytes) override;

    // Settable replies for commands the logger has no built-in answer for.
    void setReply(const std::string& command, const std::string& reply);
    void setIdentity(const std::string& stationName, const std::string& modelCode);
    // Units behind one line: "_COM%d" selects unit n+1 of this many.
    void setUnitCount(int units);
    void setFaults(const LoggerFaults& faults);
    LoggerFaults faults() const;

    // Every complete line received so far (without CR LF), in order; empty lines included.
    std::vector<std::string> receivedLines() const;
    int selectedUnit() const;
    bool guardOpen() const;  // true between "comtm=0" and "comtm=1"
    int clearCount() const;

private:
    std::string answer(const std::string& line);

    mutable std::mutex mutex_;
    std::string pending_;
    std::vector<std::string> received_;
    std::map<std::string, std::string> replies_;
    std::map<std::string, int> sendings_;
    std::string stationName_ = "FENTA21-SIM";
    std::string modelCode_ = "WNDA-01";
    int units_ = 1;
    int selectedUnit_ = 1;
    bool guardOpen_ = false;
    int clears_ = 0;
    LoggerFaults faults_;
};

}  // namespace fenta21::sim
