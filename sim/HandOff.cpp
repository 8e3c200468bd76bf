#include "sim/HandOff.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

extern char** environ;

namespace fenta21::sim {

int runOnLine(const std::vector<std::string>& argv, int lineFd, const std::atomic<bool>& keepRunning) {
    if (argv.empty()) return -1;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    posix_spawn_file_actions_adddup2(&actions, lineFd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, lineFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The program reads and writes the line in its own way; it must not find it non-blocking,
    // and that flag belongs to the open file it shares with us.
    const int flags = ::fcntl(lineFd, F_GETFL);
    if (flags >= 0) ::fcntl(lineFd, F_SETFL, flags & ~O_NONBLOCK);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    int status = 0;
    bool exited = false;
    if (spawned == 0) {
        using Clock = std::chrono::steady_clock;
        std::optional<Clock::time_point> terminatedAt;
        for (;;) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                exited = WIFEXITED(status);
                break;
            }
            if (done < 0 && errno != EINTR) break;
            if (!keepRunning.load() && !terminatedAt) {
                ::kill(pid, SIGTERM);
                terminatedAt = Clock::now();
            } else if (terminatedAt && Clock::now() - *terminatedAt > std::chrono::seconds(1)) {
                ::kill(pid, SIGKILL);  // it would not end; waitpid reaps it next time round
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    if (flags >= 0) ::fcntl(lineFd, F_SETFL, flags);
    return exited ? WEXITSTATUS(status) : -1;
}

}  // namespace fenta21::sim
