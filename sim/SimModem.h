#pragma once

#include "sim/EscapeSequence.h"
#include "sim/RemoteStation.h"
#include "sim/SimDevice.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21::sim {

// Named faults of the simulated modem itself; the faults of a remote line are the station's
// (StationFaults).
struct ModemFaults {
    // Answer nothing at all and do nothing, as a modem that is switched off; a call in
    // progress is lost at the next byte the program sends, without NO CARRIER.
    bool silent = false;
    // Answer this command with "ERROR".
    std::string errorCommand;
};

struct ModemTimings {
    // The silence around "+++" (see EscapeSequence); 0: the pluses need only come in reads of
    // their own, which suits a program running on a shortened clock.
    std::chrono::milliseconds escapeGuard{0};
    // How long a number that does not answer rings before the modem gives up with NO CARRIER.
    std::chrono::milliseconds ringTime{30'000};
};

// A Hayes modem with remote stations to dial.
//
// Command mode: lines end at CR (LF is nothing) and are taken from their first "AT" on.
// Echo follows E0/E1, quiet mode (no result codes at all) Q1/Q0; Z hangs up and restores the
// power-on echo and Q0. Other commands are answered "OK". "ATD<number>" (with T or P) calls
// the station registered under the number's digits: it answers with its greeting and the
// modem goes on-line ("CONNECT <speed>" unless quiet), or it rings until the ring time is
// over, or until any byte arrives, and the modem says NO CARRIER (unless quiet).
//
// On-line every byte goes to the station and its answers come back, until the line drops
// (a station fault) or "+++" takes the modem back to its commands with the call held: then
// "ATH0" (or "ATZ") ends the call and "ATO" resumes it.
//
// The modem only speaks when it is spoken to, so what a real one says after a wait (NO
// CARRIER when the ring time is over, OK after the escape's guard time) comes with the answer
// to the next bytes; the modem's state changes at the right moment all the same. A program
// that has set quiet mode never notices.
class SimModem : public SimDevice {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // `echo`: the power-on echo setting, which ATZ restores.
    explicit SimModem(bool echo = false);

    std::string receive(std::string_view bytes) override;
    void setLineSpeed(std::uint32_t bitsPerSecond) override;

    // Registers a station under a telephone number (its digits are what a dial must reach) with
    // this many units behind its line. A number registered before keeps its first station.
    RemoteStation& addStation(const std::string& number, int units = 1);
    // The station a dial of this number reaches, or nullptr.
    RemoteStation* station(const std::string& number) const;

    // Answer this command (as sent, "ATI" for example) with this text instead of "OK".
    void setReply(const std::string& command, const std::string& reply);
    void setFaults(const ModemFaults& faults);
    void setTimings(const ModemTimings& timings);
    // Where the modem reads the time; tests step it by hand.
    void setTimeSource(std::function<TimePoint()> now);

    // Every command line taken in command mode (from its "AT" on, when it has one), in order.
    std::vector<std::string> receivedLines() const;
    // Every dial string after ATD and its T or P, as sent.
    std::vector<std::string> dialledNumbers() const;
    bool echoing() const;
    bool quiet() const;
    // True while bytes go to a station (not while the call is held in command mode).
    bool onLine() const;
    // The number of the call in progress, held or on-line, as dialled; empty without a call.
    std::string connectedNumber() const;
    RemoteStation* connectedStation() const;
    // Calls ended by ATH or ATZ, and calls lost when their line dropped.
    int hangUps() const;
    int droppedCalls() const;

private:
    enum class State { Command, Ringing, OnLine, CallHeld };

    std::string settle(TimePoint now);
    std::string commandByte(char c, TimePoint now);
    std::string commandLine(const std::string& line, TimePoint now);
    std::string execute(const std::string& command, TimePoint now);
    std::string dial(const std::string& dialString, TimePoint now);
    std::string carryOnLine(std::string_view bytes, TimePoint now);
    std::string overTheLine(std::string bytes);
    std::size_t lineAllowance() const;
    void endCall();
    std::string result(const std::string& text) const;

    mutable std::mutex mutex_;
    bool initialEcho_;
    bool echo_;
    bool quiet_ = false;
    std::string pending_;
    std::vector<std::string> received_;
    std::vector<std::string> dialled_;
    std::map<std::string, std::string> replies_;
    std::map<std::string, std::unique_ptr<RemoteStation>> stations_;  // by the digits of their number
    ModemFaults faults_;
    ModemTimings timings_;
    std::function<TimePoint()> now_;
    std::uint32_t lineSpeed_ = 0;

    State state_ = State::Command;
    TimePoint ringingUntil_{};
    RemoteStation* call_ = nullptr;
    std::string callNumber_;
    std::size_t carried_ = 0;
    bool afterCommandCr_ = false;
    EscapeSequence escape_;
    int hangUps_ = 0;
    int droppedCalls_ = 0;
};

}  // namespace fenta21::sim
