#pragma once

#include <string>
#include <string_view>

namespace fenta21::sim {

// Something at the far end of a line: it takes the bytes the program sent and gives the bytes
// it answers with. A logger, or a modem with loggers behind it.
class SimDevice {
public:
    virtual ~SimDevice() = default;
    virtual std::string receive(std::string_view bytes) = 0;
};

}  // namespace fenta21::sim
