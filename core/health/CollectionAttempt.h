#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace fenta21 {

// Seconds since 1970-01-01T00:00:00Z: every time of the health model, whatever the zone of
// the machine that collected.
using EpochSeconds = std::int64_t;

// Which station's health: one logger behind one station's line, as one machine collects it.
// Two machines writing one store may name stations alike; each keeps its own.
struct StationKey {
    std::string machine;
    std::string station;
    int unit = 0;  // 0 for a line with one logger

    auto operator<=>(const StationKey&) const = default;
};

// One try at collecting a station's logger, whatever came of it: the line could not be set
// up, the transfer failed, records were stored, or there was nothing new.
struct CollectionAttempt {
    StationKey key;
    EpochSeconds started = 0;
    EpochSeconds ended = 0;
    int result = 0;
    std::string message;  // what the user was told, empty when nothing
    // The logger was reached and answered the collection: records stored, or nothing new
    // to collect (a station with nothing new is well, only quiet).
    bool contacted = false;

    bool operator==(const CollectionAttempt&) const = default;
};

}  // namespace fenta21
