#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// The installation files are what a home folder needs before the first collection: type.dat,
// the kind tables, the header reference files and cmd.dat. An installed program finds them
// under share/fenta21 beside its own bin folder; a program run from its build tree finds
// them in the source tree it was built from.

// Where to look, in order: <program's folder>/../share/fenta21 (an installation moved as a
// whole), the data folder of the prefix the program was configured for, and the source
// tree's config folder.
std::vector<std::string> installationFolderCandidates(const std::string& programPath);

// The first candidate that holds type.dat, or empty when none does.
std::string findInstallationFolder(const std::vector<std::string>& candidates);

// The path of the running program (/proc/self/exe), or empty.
std::string runningProgramPath();

// What making a home folder did.
struct HomeSetup {
    std::vector<std::string> made;  // folders and files created, in the order they were
    std::vector<std::string> kept;  // files that were there already and were left as they are
    std::string problem;            // what could not be done, or empty
};

// Makes `home` (and the folders above it) when missing, copies every installation file that
// the home does not have yet, and makes the default data folder beside the home, where
// collections store their files when system.dat names no folder. An existing file is never
// overwritten. Stops at the first failure, with the problem said.
HomeSetup makeHomeFolder(const std::string& home, const std::string& installationFolder);

}  // namespace fenta21
