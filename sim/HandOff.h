#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace fenta21::sim {

// Runs `argv` (searched in PATH) with `lineFd` as its standard input and output and its error
// output thrown away, and waits for it to end. While it runs, `keepRunning` turning false
// terminates it, so a server that is stopping never waits on a program that waits on the line.
// Returns its exit status, or -1 when it could not be started or did not exit normally.
int runOnLine(const std::vector<std::string>& argv, int lineFd, const std::atomic<bool>& keepRunning);

}  // namespace fenta21::sim
