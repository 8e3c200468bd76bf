#pragma once

#include "sim/SimLogger.h"
#include "sim/UnitSwitch.h"

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21::sim {

// Named faults of a remote station and its line; each is switched on in one line.
struct StationFaults {
    // The station lets this many dials ring unanswered before it answers one (1: only the
    // second dial is answered).
    int unansweredDials = 0;
    // The station never answers.
    bool neverAnswers = false;
    // On answering, the remote side sends this many lines "CAN" before anything else.
    int canLines = 0;
    // On answering, the remote side sends nothing more of its own: the logger's "READY" comes
    // only when the program sends "CONNECT".
    bool silentAnswer = false;
    // The first this-many answers send a line "+++" instead of the logger's greeting.
    int plusLineAnswers = 0;
    // The line drops once this many bytes have gone over it, either way, since the answer
    // (0: never).
    std::size_t dropAfterBytes = 0;
};

// A telephone number's far end: the station's own modem and the loggers behind it.
//
// When the station answers a call, its modem tells the logger "CONNECT" as its result code
// and the logger's "READY" goes back over the line at once: that is the line the program
// waits for after dialling. With one unit the station is a single logger; with several, the
// line goes through a UnitSwitch and "_COM<n>" picks unit n+1.
//
// Thread-safe; the loggers lock themselves, so a test may configure and inspect them while a
// call is going on.
class RemoteStation {
public:
    explicit RemoteStation(std::string number, int units = 1);
    RemoteStation(const RemoteStation&) = delete;
    RemoteStation& operator=(const RemoteStation&) = delete;

    // The number the station was registered under, as given.
    const std::string& number() const { return number_; }
    int unitCount() const { return switch_.unitCount(); }
    // Unit n's logger, counted from 1 (std::out_of_range beyond the units); logger() is unit 1.
    SimLogger& unit(int n) const { return switch_.unit(n); }
    SimLogger& logger() const { return switch_.unit(1); }

    void setFaults(const StationFaults& faults);
    StationFaults faults() const;

    int dialCount() const;    // how often the number was dialled
    int answerCount() const;  // how many of those dials it answered
    int selectedUnit() const;

    // The modem's side of a call.
    // A dial reached the number: the bytes the station sends on answering, or nothing when
    // it lets the call ring.
    std::optional<std::string> ring();
    // Bytes the caller sent on-line; the station's answers.
    std::string carry(std::string_view bytes);
    // The call is over, whoever ended it.
    void hangUp();

private:
    std::string greeting();

    const std::string number_;
    mutable std::mutex mutex_;
    UnitSwitch switch_;
    StationFaults faults_;
    int dials_ = 0;
    int answers_ = 0;
};

}  // namespace fenta21::sim
