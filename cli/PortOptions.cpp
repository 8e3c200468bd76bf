#include "cli/PortOptions.h"

#include "cli/CommandWords.h"
#include "core/session/Session.h"

namespace fenta21::cli {

bool takePortOptions(std::vector<std::string>& args, PortOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool isPortOption = arg == "--port" || arg == "--device" || arg == "--speed";
        if (!isPortOption) {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--port") {
            options.portNumber = portNumberWord(value);
            if (!options.portNumber) {
                error = "--port takes COM1 to COM9, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--device") {
            options.devicePath = value;
        } else {
            options.speedIndex = speedIndexWord(value);
            if (!options.speedIndex) {
                error = "--speed takes a bit rate (300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200) "
                        "or its index 0-9, not \"" + value + "\"";
                return false;
            }
        }
    }
    if (options.portNumber && !options.devicePath.empty()) {
        error = "--port and --device exclude each other";
        return false;
    }
    args = std::move(rest);
    return true;
}

void applyDirectPort(Session& session, const PortOptions& options) {
    TTYInfo* channel = session.channel();
    int port = options.portNumber.value_or(session.settings.directPortIndex + 1);
    int speed = options.speedIndex.value_or(session.settings.directSpeedIndex);
    channel->portNumber.store(static_cast<std::uint8_t>(port));
    channel->deviceOverride = options.devicePath;
    channel->baudRate.store(kSpeedTable[static_cast<std::size_t>(speed)]);
}

}  // namespace fenta21::cli
