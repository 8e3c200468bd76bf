#pragma once

#include <string>
#include <vector>

namespace fenta21::plot {

// The drawing half of "fenta21-cli plot": reads the data files (or a station's records) with the
// home folder's model files, draws the picture and writes it. Says what went wrong on stderr
// and, with --json, prints the result as fenta21-cli's commands do. Returns the exit status:
// 0 done, 1 failed, 2 a usage error.
int runPictureCommand(const std::string& homeFolder, const std::vector<std::string>& args);

}  // namespace fenta21::plot
