#include "core/app/Launchers.h"

#include <sys/stat.h>

namespace fenta21 {

std::string aboutTimeText(std::time_t moment) {
    std::tm parts{};
    if (localtime_r(&moment, &parts) == nullptr) return {};
    char text[64];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H.%M.%S", &parts);
    return std::string(text, length);
}

std::string modificationTimeText(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return {};
    return aboutTimeText(status.st_mtime);
}

OptionLaunch optionLaunch(const OptionProgram& program) {
    // Compared exactly: "Binary.exe" is a program of its own like any other.
    return program.programFile == kViewerOptionProgram ? OptionLaunch::DataFileViewer : OptionLaunch::StartProgram;
}

}  // namespace fenta21
