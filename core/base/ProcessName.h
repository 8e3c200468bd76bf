#pragma once

#include <string>

namespace fenta21 {

// The name the system knows a running process by ("fenta21-cli"), or "" when it has ended or
// cannot be looked at: for messages that tell the user which program holds something.
std::string processName(int processId);

}  // namespace fenta21
