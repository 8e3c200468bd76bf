#pragma once

#include "sim/BlockFaults.h"
#include "sim/RemoteStation.h"
#include "sim/SimLogger.h"
#include "sim/SimModem.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fenta21::sim {

// A remote station the modem can dial: its number, the units behind its line and the name
// its loggers answer to "eerm0" (empty: the --name text).
struct StationOption {
    std::string number;
    int units = 1;
    std::string name;
};

// What the fenta21-sim command line asks for, parsed but not yet acted on (files unread).
struct SimOptions {
    std::string link;
    std::string name = "FENTA21-SIM";
    std::string model = "WNDA-01";
    int units = 1;
    std::vector<std::pair<std::string, std::string>> replies;
    LoggerFaults faults;
    BlockFaults blockFaults;
    std::string imageFile;
    std::string imageRecipeFile;
    std::string writeImageFile;  // write the image there and end, serving nothing
    bool noImage = false;
    std::string textListingFile;
    std::uint32_t pace = 0;
    std::uint32_t onlySpeed = 0;
    std::vector<std::string> copyVia;
    bool modem = false;
    bool modemEcho = false;
    std::vector<StationOption> stations;
    ModemFaults modemFaults;
    ModemTimings modemTimings;
    StationFaults stationFaults;
    bool help = false;
};

extern const char* const kSimUsage;

// Fills `options` from the arguments after the program name; returns the complaint about the
// first bad argument, or an empty string when all were understood.
std::string parseSimOptions(const std::vector<std::string>& args, SimOptions& options);

}  // namespace fenta21::sim
