#include "core/base/Folders.h"

#include <filesystem>

namespace fenta21 {

std::string currentFolder() {
    std::error_code ec;
    std::string path = std::filesystem::current_path(ec).string();
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string resolveDataFolder(const std::string& homeFolder, const std::string& folderText) {
    std::string folder = (!folderText.empty() && folderText.front() == ' ') ? std::string() : folderText;
    if (folder.empty()) {
        auto cut = homeFolder.rfind('/');
        folder = (cut == std::string::npos ? std::string() : homeFolder.substr(0, cut)) + "/data/";
    }
    if (folder.back() != '/') folder.push_back('/');
    // A relative folder ("../data/") is taken from the home folder, where the program has
    // always worked, not from wherever a script happened to start it.
    if (folder.front() != '/') folder = homeFolder + "/" + folder;
    return folder;
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace fenta21
