#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fenta21 {
class Session;
}

namespace fenta21::cli {

// --port COMn | --device PATH and --speed RATE, shared by the commands that open a line.
struct PortOptions {
    std::optional<int> portNumber;  // 1-9
    std::string devicePath;
    std::optional<int> speedIndex;  // 0-9
};

// Takes the port options out of `args` (leaving the rest in order). On a bad option returns
// false with the message in `error`.
bool takePortOptions(std::vector<std::string>& args, PortOptions& options, std::string& error);

// Sets the channel up for the direct port: the options, or else the saved port and speed.
void applyDirectPort(Session& session, const PortOptions& options);

inline constexpr const char* kPortOptionsHelp =
    "  --port COMn       the COM port (1-9) as mapped in comports.txt; default: the saved direct port\n"
    "  --device PATH     open this serial device instead of a COM port\n"
    "  --speed RATE      line speed: a bit rate (300, 600, 1200, 2400, 4800, 9600, 19200, 38400,\n"
    "                    57600 or 115200) or its index 0-9 in that list; default: the saved\n"
    "                    direct speed\n";

}  // namespace fenta21::cli
