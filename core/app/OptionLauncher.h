#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// The option-program entry that starts the data program from fenta21's "ｵﾌﾟｼｮﾝ(&O)" list: a
// launcher "fenta21-data.exe" (a shell script, since the list only knows "*.exe" files) that
// starts the program with this home folder, and its name file "fenta21-data", whose first word
// is the name the list shows.
inline constexpr const char* kDataLauncherDisplayName = "ﾃﾞｰﾀｸﾞﾗﾌ";

// The launcher's text: the program by its path when one is known, else by name on PATH.
std::string dataLauncherScript(const std::string& programPath);

struct LauncherSetup {
    std::vector<std::string> made;
    std::vector<std::string> kept;  // there already: the user's own, left as they are
    std::string problem;
};

// Writes the launcher (executable) and the name file into the home folder, each created
// exclusively and only where nothing has its name yet.
LauncherSetup installDataLauncher(const std::string& homeFolder, const std::string& programPath);

}  // namespace fenta21
