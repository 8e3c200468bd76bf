#include "core/app/CompanionPrograms.h"

#include "core/app/InstallationFiles.h"
#include "core/util/ChildProcess.h"

#include <unistd.h>

#include <filesystem>

namespace fenta21 {
namespace {

bool runnable(const std::string& path) { return !path.empty() && path.find('/') != std::string::npos && ::access(path.c_str(), X_OK) == 0; }

}  // namespace

std::string companionProgramPath(const std::string& name) {
    std::string self = runningProgramPath();
    if (!self.empty()) {
        std::filesystem::path folder = std::filesystem::path(self).parent_path();
        for (const std::filesystem::path& candidate :
             {folder / name, folder.parent_path() / FENTA21_INSTALL_LIBEXEC_SUBDIR / "fenta21" / name})
            if (runnable(candidate.string())) return candidate.string();
    }
    std::string onPath = findProgram(name);
    return runnable(onPath) ? onPath : std::string();
}

std::string modelFilesFolder(const std::string& homeFolder) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::path(homeFolder) / "type.dat", ec)) return homeFolder;
    std::string installed = findInstallationFolder(installationFolderCandidates(runningProgramPath()));
    return installed.empty() ? homeFolder : installed;
}

}  // namespace fenta21
