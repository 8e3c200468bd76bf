#pragma once

#include <string>
#include <vector>

namespace fenta21::sim {

// One measurement kind a logger model records, with the short name its mode replies carry.
struct ProfileKind {
    int code = 0;
    std::string name;
};

// What the simulated logger knows of its own model: the family (the model kind number of the
// model code), its channel count as type.dat lists it, and its kinds in kind-table order.
struct LoggerProfile {
    int modelKind = 0;
    int channelCount = 0;
    std::vector<ProfileKind> kinds;

    // The name of a kind code, "Disable" for 127, "-" when the model lacks it.
    std::string kindName(int code) const;
    bool hasKind(int code) const;
};

LoggerProfile profileFor(const std::string& modelCode);

}  // namespace fenta21::sim
