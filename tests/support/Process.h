#pragma once

#include <chrono>
#include <csignal>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace fenta21::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with extra environment variables, collecting its output through
// files in `scratchFolder` (no pipe can fill up and stall it).
ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                         const std::string& scratchFolder);

// A program left running in the background (the simulator, or a program under test), ended
// with a signal.
class BackgroundProcess {
public:
    BackgroundProcess(const std::vector<std::string>& argv, const std::string& logFile,
                      const std::map<std::string, std::string>& env = {});
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    // Waits (up to about 5 s) until `path` exists; false when it never appeared.
    static bool waitForPath(const std::string& path);
    // Sends the signal (SIGTERM unless another is given) and returns the exit status.
    int stop(int signalNumber = SIGTERM);
    // Waits up to `limit` for the program to end (of itself, or by a signal sent before):
    // its exit status, or nothing when it is still running.
    std::optional<int> waitFor(std::chrono::milliseconds limit);
    // Sends a signal and returns at once.
    void signal(int signalNumber);
    // Output so far (stdout, then what went to stderr).
    std::string output() const;
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string logFile_;
};

}  // namespace fenta21::test
