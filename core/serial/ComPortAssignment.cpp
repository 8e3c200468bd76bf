#include "core/serial/ComPortAssignment.h"

#include "core/base/Files.h"
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

    std::string oldText;
    std::error_code ec;
    if (fs::exists(mapFile, ec)) {
        FileContent old = readRegularFile(mapFile);
        if (!old.bytes) {
            result.outcome = ComPortAssignment::Outcome::NotWritten;
            result.why = mapFile + " " + old.problem;
            return result;
        }
        oldText = *old.bytes;
    }
    std::string newText = ComPortMap::withMapping(oldText, result.portNumber, result.device);

    // The new line must hold as the program will read it, and must not take a device from
    // another number: the later of two lines for one device would lose it without a word.
    ComPortMap before = ComPortMap::parse(oldText);
    ComPortMap after = ComPortMap::parse(newText);
    if (after.mappedPath(result.portNumber) != result.device) {
        std::string problem = after.problemFor(result.portNumber);
        return refused(result, problem.empty() ? "comports.txt cannot hold the path " + result.device : problem);
    }
    for (int other = 1; other <= ComPortMap::kPorts; ++other) {
        bool kept = before.mappedPath(other).empty() || !after.mappedPath(other).empty();
        if (other == result.portNumber || kept) continue;
        return refused(result, "the device is already COM" + std::to_string(other));
    }

    if (!writeFileAtomically(mapFile, newText)) {
        result.outcome = ComPortAssignment::Outcome::NotWritten;
        result.why = mapFile + " cannot be written";
        return result;
    }
    result.outcome = ComPortAssignment::Outcome::Written;
    return result;
}

}  // namespace fenta21
