#pragma once

#include "core/session/OptionPrograms.h"

#include <ctime>
#include <string>

namespace fenta21 {

// The maker's web site, opened by the toolbar's last button.
inline constexpr const char* kMakerWebSite = "https://www.brightlow.co.jp/";

// The manual's first page, relative to the home folder.
inline constexpr const char* kManualPage = "v38rimo_manu/page.html";

// The program file whose modification time the about box shows as the program's date.
inline constexpr const char* kAboutProgramFile = "rimo.exe";

// The fixed date the about box shows beside it.
inline constexpr const char* kAboutFixedDate = "2017/03/09 12:00:00";

// A moment in local time as the about box writes it: "%Y-%m-%d %H.%M.%S".
std::string aboutTimeText(std::time_t moment);

// The last modification time of a file in the form above; empty when the file is not there.
std::string modificationTimeText(const std::string& path);

// What choosing an entry of the option list does.
enum class OptionLaunch {
    DataFileViewer,  // the entry "binary.exe" stands for the program's own data file viewer
    StartProgram,    // any other entry starts its program in the home folder
};

OptionLaunch optionLaunch(const OptionProgram& program);

}  // namespace fenta21
