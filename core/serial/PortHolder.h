#pragma once

#include <string>

namespace fenta21 {

// The process that holds a serial device's advisory lock, as every copy of this program takes
// one on the port it opens; processId 0 when no such lock is found (another kind of program
// that only set the device exclusive, or a system that does not say).
struct PortHolder {
    int processId = 0;
    std::string programName;
};

PortHolder findPortHolder(const std::string& devicePath);

}  // namespace fenta21
