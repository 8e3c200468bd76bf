#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// A companion program found beside the program: "tool.exe" with a text file "tool" whose
// first word is the name shown in the option list.
struct OptionProgram {
    std::string displayName;  // at most 39 bytes
    std::string programFile;  // title + ".exe", at most 39 bytes
};

// The option table holds this many entries; later programs are left out.
inline constexpr std::size_t kMaxOptionPrograms = 10;

// The entry that opens the data file viewer instead of starting a program.
inline constexpr const char* kViewerOptionProgram = "binary.exe";

// Scans the home folder for "*.exe" files with a companion name file, in name order (the
// order of a directory listing is not stable on this platform). A non-empty result selects
// the main menu with the option item, which has no accelerator keys.
std::vector<OptionProgram> scanOptionPrograms(const std::string& homeFolder);

}  // namespace fenta21
