#pragma once

#include <string>

namespace fenta21 {

// The working directory at start, without a trailing separator: every settings, list and log
// file is read and written there.
std::string currentFolder();

// Turns a stored or typed folder text into a usable folder path ending in '/': a text that
// begins with a space counts as empty, an empty one is the "data" folder beside the home
// folder, and a missing final separator is added. The stored text itself is never changed.
std::string resolveDataFolder(const std::string& homeFolder, const std::string& folderText);

// What the folder field is reset to when the chosen folder does not exist.
inline constexpr const char* kDataFolderResetText = "../data/";

bool folderExists(const std::string& path);

}  // namespace fenta21
