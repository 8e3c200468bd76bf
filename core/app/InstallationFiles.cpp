#include "core/app/InstallationFiles.h"

#include "core/base/Folders.h"
#include "core/base/Files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fenta21 {
namespace fs = std::filesystem;

namespace {

// A missing folder and its parents; the ones made are added to `made`.
bool makeFolders(const fs::path& folder, std::vector<std::string>& made, std::string& problem) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    if (folder.has_parent_path() && folder.parent_path() != folder &&
        !makeFolders(folder.parent_path(), made, problem))
        return false;
    if (!fs::create_directory(folder, ec) && !fs::is_directory(folder)) {
        problem = "cannot make the folder " + folder.string() + ": " + (ec ? ec.message() : "a file has its name");
        return false;
    }
    made.push_back(folder.string() + "/");
    return true;
}

std::vector<fs::path> installationFiles(const std::string& folder, std::string& problem) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    if (ec) problem = "cannot list the installation files in " + folder + ": " + ec.message();
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::vector<std::string> installationFolderCandidates(const std::string& programPath) {
    std::vector<std::string> candidates;
    if (!programPath.empty())
        candidates.push_back(
            (fs::path(programPath).parent_path().parent_path() / FENTA21_INSTALL_DATA_SUBDIR / "fenta21").string());
    candidates.push_back(FENTA21_INSTALL_DATA_DIR "/fenta21");
    candidates.push_back(FENTA21_SOURCE_CONFIG_DIR);
    return candidates;
}

std::string findInstallationFolder(const std::vector<std::string>& candidates) {
    std::error_code ec;
    for (const std::string& candidate : candidates)
        if (fs::is_regular_file(fs::path(candidate) / "type.dat", ec)) return candidate;
    return {};
}

std::string runningProgramPath() {
    std::error_code ec;
    fs::path path = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

HomeSetup makeHomeFolder(const std::string& home, const std::string& installationFolder) {
    HomeSetup setup;
    std::vector<fs::path> files = installationFiles(installationFolder, setup.problem);
    if (!setup.problem.empty()) return setup;
    if (!makeFolders(home, setup.made, setup.problem)) return setup;
    for (const fs::path& source : files) {
        std::string target = joinPath(home, source.filename().string());
        std::error_code ec;
        // Checked first and written aside: a file that is there is the user's, and one that is
        // not is either written whole or not at all.
        if (fs::exists(fs::symlink_status(target, ec))) {
            setup.kept.push_back(target);
            continue;
        }
        FileContent content = readRegularFile(source.string());
        if (!content.bytes) {
            setup.problem = "cannot read " + source.string() + ": " + content.problem;
            return setup;
        }
        if (!writeFileAtomically(target, *content.bytes)) {
            setup.problem = "cannot write " + target;
            return setup;
        }
        setup.made.push_back(target);
    }
    std::string dataFolder = resolveDataFolder(home, "");
    dataFolder.pop_back();  // the separator resolveDataFolder adds
    makeFolders(dataFolder, setup.made, setup.problem);
    return setup;
}

}  // namespace fenta21
