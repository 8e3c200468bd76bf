#include "cli/PortOptions.h"

#include "core/app/Session.h"

#include <cctype>

namespace fenta21::cli {
namespace {

std::optional<int> parsePort(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.rfind("COM", 0) == 0) text = text.substr(3);
    if (text.size() != 1 || text[0] < '1' || text[0] > '9') return std::nullopt;
    return text[0] - '0';
}

// An index 0-9, or a bit rate of the speed table ("9600"); nothing else.
std::optional<int> parseSpeed(const std::string& text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return text[0] - '0';
    for (std::size_t index = 0; index < kSpeedTable.size(); ++index)
        if (text == std::to_string(kSpeedTable[index])) return static_cast<int>(index);
    return std::nullopt;
}

}  // namespace

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
            options.portNumber = parsePort(value);
            if (!options.portNumber) {
                error = "--port takes COM1 to COM9, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--device") {
            options.devicePath = value;
        } else {
            options.speedIndex = parseSpeed(value);
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
