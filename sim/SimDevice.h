#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::sim {

// Something at the far end of a line: it takes the bytes the program sent and gives the bytes
// it answers with. A logger, or a modem with loggers behind it.
class SimDevice {
public:
    virtual ~SimDevice() = default;
    virtual std::string receive(std::string_view bytes) = 0;

    // The speed the program set on its end of the line, told before every receive. A device
    // that cares (one that hears only garbage at a wrong speed) keeps it.
    virtual void setLineSpeed(std::uint32_t /*bitsPerSecond*/) {}

    // Bytes the device sends of its own accord, asked for about every 20 ms whatever the line
    // carries (a GPS receiver or a console that keeps talking). Most devices only answer.
    virtual std::string unprompted() { return {}; }

    // After its last answer the device may ask the server to hand the line to an external
    // program (argv, searched in PATH) until that program ends; the server then reports the
    // program's exit status (-1 when it could not be run or did not end normally).
    virtual std::optional<std::vector<std::string>> takeHandOff() { return std::nullopt; }
    virtual void handOffEnded(int /*exitStatus*/) {}
};

}  // namespace fenta21::sim
