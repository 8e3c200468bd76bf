#include "core/base/ProcessName.h"

#include <fstream>

namespace fenta21 {

std::string processName(int processId) {
    std::ifstream comm("/proc/" + std::to_string(processId) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

}  // namespace fenta21
