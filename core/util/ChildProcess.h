#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace fenta21 {

// What a helper program did: whether it could be started at all, how it ended, and what it
// printed on its standard output and error, interleaved as it wrote them.
struct ChildResult {
    bool started = false;
    bool timedOut = false;  // it outlived its time limit and was killed
    int exitCode = -1;      // 128 + the signal number when a signal ended it
    std::string output;
    std::string problem;    // why it could not be started, when it was not

    bool succeeded() const { return started && !timedOut && exitCode == 0; }
};

// Runs a program with `argv` as it stands (argv[0] is looked up on PATH and in the system's
// administration folders, where mkfs.fat lives but an ordinary user's PATH does not lead),
// with no shell in between, so that no path typed by the user is ever read as shell syntax.
// Its standard input is /dev/null. After `timeLimit` (a real duration) it is killed, with
// whatever it started. `environment` adds variables to this program's own (or replaces them).
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;
ChildResult runChild(const std::vector<std::string>& argv, std::chrono::nanoseconds timeLimit,
                     const EnvironmentVariables& environment = {});

// The path a program name resolves to, or the name itself when it holds a '/' or is not found.
std::string findProgram(const std::string& name);

}  // namespace fenta21
