#include "core/serial/ComPortAssignment.h"

#include "core/base/HomeFileEdit.h"
#include "core/serial/ComPortMap.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

ComPortAssignment refused(ComPortAssignment result, std::string why) {
    result.outcome = ComPortAssignment::Outcome::Refused;
    result.why = std::move(why);
    return result;
}

// The device as the line will name it before its stable name is looked for: a bare name is
// a node of the dev root unless the working folder has it, and a relative path is made
// absolute, since the program reads the file from wherever it is started.
std::string absoluteDevicePath(const std::string& device, const SerialRoots& roots) {
    std::error_code ec;
    fs::path path(device);
    if (device.find('/') == std::string::npos && !fs::exists(path, ec)) path = fs::path(roots.dev) / device;
    fs::path absolute = fs::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().string();
}

ComPortAssignment notWritten(ComPortAssignment result, std::string why) {
    result.outcome = ComPortAssignment::Outcome::NotWritten;
    result.why = std::move(why);
    return result;
}

// Why the new map cannot be written, or nothing: the new line must hold as the program will
// read it, and must not take a device from another number (the later of two lines for one
// device would lose it without a word).
std::string takenPortProblem(const std::string& oldText, const std::string& newText, const ComPortAssignment& result) {
    ComPortMap before = ComPortMap::parse(oldText);
    ComPortMap after = ComPortMap::parse(newText);
    if (after.mappedPath(result.portNumber) != result.device) {
        std::string problem = after.problemFor(result.portNumber);
        return problem.empty() ? "comports.txt cannot hold the path " + result.device : problem;
    }
    for (int other = 1; other <= ComPortMap::kPorts; ++other) {
        bool kept = before.mappedPath(other).empty() || !after.mappedPath(other).empty();
        if (other != result.portNumber && !kept) return "the device is already COM" + std::to_string(other);
    }
    return {};
}

}  // namespace

ComPortAssignment assignComPort(const std::string& mapFile, const std::string& portWord, const std::string& device,
                                const SerialRoots& roots) {
    ComPortAssignment result;
    result.portNumber = comPortNumberOf(portWord);
    if (result.portNumber < 1) return refused(result, "the port is COM1 to COM9, not \"" + portWord + "\"");
    if (device.empty()) return refused(result, "no device given");

    std::string path = absoluteDevicePath(device, roots);
    struct stat node {};
    if (::stat(path.c_str(), &node) != 0)
        return refused(result, path + " is not there (" + std::strerror(errno) + ")");
    if (!S_ISCHR(node.st_mode)) return refused(result, path + " is not a serial device");
    std::string stableName = inspectSerialDevice(path, roots).stableName;
    result.device = stableName.empty() ? path : stableName;

    // The file is read again under the home's lock and only the one line changes, so that a
    // line another program wrote meanwhile stays.
    auto change = [&](const FileOnDisk& now) -> std::optional<std::string> {
        std::string oldText = now.value_or("");
        if (oldText.size() > ComPortMap::kMostFileBytes) {
            result = notWritten(result, mapFile + " is larger than a port map can be (" +
                                            std::to_string(ComPortMap::kMostFileBytes) + " bytes)");
            return std::nullopt;
        }
        std::string newText = ComPortMap::withMapping(oldText, result.portNumber, result.device);
        if (std::string why = takenPortProblem(oldText, newText, result); !why.empty()) {
            result = refused(result, why);
            return std::nullopt;
        }
        return newText;
    };
    HomeFileEdit edit = editHomeFile(mapFile, ComPortMap::kMostFileBytes + 1, change);
    if (edit.outcome == HomeFileEdit::Outcome::Declined) return result;
    if (!edit.written()) return notWritten(result, edit.problem);
    result.outcome = ComPortAssignment::Outcome::Written;
    return result;
}

}  // namespace fenta21
