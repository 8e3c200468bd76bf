#pragma once

#include <string>

namespace fenta21 {

// The programs that come with this one and are started by it: fenta21-data (the plots and the
// record store) and fenta21-plot (the pictures of "fenta21-cli plot").
inline constexpr const char* kDataProgram = "fenta21-data";
inline constexpr const char* kPictureProgram = "fenta21-plot";

// Where a companion program is: beside the running program (the same build, or bin/ of the
// same installation), in that installation's libexec/fenta21 (where helpers that no user starts
// live), else on PATH; "" when it is in none of these places.
std::string companionProgramPath(const std::string& name);

// The folder whose type.dat and kind tables a companion reads data files with: the home
// folder's when it has them, else the installation's (a program started from the desktop's
// menu has the user's own folder as its home), else the home folder all the same.
std::string modelFilesFolder(const std::string& homeFolder);

}  // namespace fenta21
