#pragma once

#include <string>
#include <string_view>

namespace fenta21::fuzz {

// A home folder of this fuzzing process: a fresh folder in memory (/dev/shm, else TMPDIR)
// holding a copy of the installation files, removed when the process ends. Targets write
// their data files, CSV files and logs there and never into the source tree.
const std::string& fuzzHome();

// A file of the scratch home, written with `bytes`; returns its path.
std::string writeHomeFile(const std::string& name, std::string_view bytes);

}  // namespace fenta21::fuzz
