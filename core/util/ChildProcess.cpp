#include "core/util/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fenta21 {
namespace {

// More than any helper prints when it fails; the rest is read and dropped so that a chatty
// child never blocks on a full pipe.
constexpr std::size_t kKeptOutputBytes = 64 * 1024;
// How often a child that closed its output is looked at until it has ended.
constexpr int kReapPollMilliseconds = 20;

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

class Pipe {
public:
    Pipe() {
        if (::pipe2(ends_, O_CLOEXEC) != 0) ends_[0] = ends_[1] = -1;
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    bool ok() const { return ends_[0] >= 0; }
    int read() const { return ends_[0]; }
    int write() const { return ends_[1]; }
    void closeRead() { closeEnd(0); }
    void closeWrite() { closeEnd(1); }

private:
    void closeEnd(int which) {
        if (ends_[which] >= 0) ::close(ends_[which]);
        ends_[which] = -1;
    }
    int ends_[2];
};

class SpawnActions {
public:
    SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions() {
        if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
    }
    bool wire(int outputFd) {
        return ok_ && ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, outputFd, 1) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, outputFd, 2) == 0;
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

void keep(std::string& output, const char* bytes, ssize_t count) {
    std::size_t room = kKeptOutputBytes - std::min(kKeptOutputBytes, output.size());
    output.append(bytes, std::min<std::size_t>(room, static_cast<std::size_t>(count)));
}

// The child leads a process group of its own, so that killing it at its limit also ends any
// helper it started.
class SpawnAttributes {
public:
    SpawnAttributes() {
        ok_ = ::posix_spawnattr_init(&attributes_) == 0 && ::posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
              ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP) == 0;
    }
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
    bool ok() const { return ok_; }
    const posix_spawnattr_t* get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
};

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 1000));
}

// This program's environment with `added` put in place of variables of the same names.
std::vector<std::string> childEnvironment(const EnvironmentVariables& added) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string_view variable(*entry);
        std::string_view name = variable.substr(0, variable.find('='));
        bool replaced = std::any_of(added.begin(), added.end(), [&](const auto& pair) { return pair.first == name; });
        if (!replaced) variables.emplace_back(variable);
    }
    for (const auto& [name, value] : added) variables.push_back(name + "=" + value);
    return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::string findProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return name;
    std::string folders;
    if (const char* path = std::getenv("PATH")) folders = path;
    folders += ":/usr/local/sbin:/usr/sbin:/sbin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder + "/" + name;
            if (isExecutableFile(candidate)) return candidate;
        }
        start = end + 1;
    }
    return name;
}

ChildResult runChild(const std::vector<std::string>& argv, std::chrono::nanoseconds timeLimit,
                     const EnvironmentVariables& environment) {
    ChildResult result;
    if (argv.empty()) {
        result.problem = "no program named";
        return result;
    }
    std::string program = findProgram(argv[0]);
    Pipe output;
    SpawnActions actions;
    SpawnAttributes attributes;
    if (!output.ok() || !actions.wire(output.write()) || !attributes.ok()) {
        result.problem = std::string("cannot prepare the output pipe: ") + std::strerror(errno);
        return result;
    }
    std::vector<std::string> argumentTexts = argv;
    std::vector<char*> arguments = pointersTo(argumentTexts);
    std::vector<std::string> variableTexts;
    std::vector<char*> variables;
    if (!environment.empty()) {
        variableTexts = childEnvironment(environment);
        variables = pointersTo(variableTexts);
    }
    pid_t pid = -1;
    int error = ::posix_spawn(&pid, program.c_str(), actions.get(), attributes.get(), arguments.data(),
                              environment.empty() ? environ : variables.data());
    if (error != 0) {
        result.problem = "cannot start " + argv[0] + ": " + std::strerror(error);
        return result;
    }
    result.started = true;
    output.closeWrite();

    auto deadline = std::chrono::steady_clock::now() + timeLimit;
    bool open = true;
    int status = 0;
    bool reaped = false;
    while (!reaped) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(-pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        if (open) {
            pollfd watch{output.read(), POLLIN, 0};
            int ready = ::poll(&watch, 1, millisecondsUntil(deadline));
            if (ready < 0 && errno != EINTR) open = false;
            if (ready > 0) {
                char buffer[4096];
                ssize_t got = ::read(output.read(), buffer, sizeof buffer);
                if (got > 0) keep(result.output, buffer, got);
                else if (got == 0 || errno != EINTR) {
                    open = false;
                }
            }
        } else {
            ::poll(nullptr, 0, std::min(kReapPollMilliseconds, millisecondsUntil(deadline)));
        }
        // A child may close its output and go on, or leave a grandchild holding the pipe:
        // its own end is what counts.
        pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid) reaped = true;
        else if (ended < 0 && errno != EINTR) {
            result.problem = std::string("lost the child: ") + std::strerror(errno);
            return result;
        }
    }
    if (!reaped) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    // What the child wrote just before it ended is still in the pipe.
    if (open && reaped) {
        char buffer[4096];
        ssize_t got = 0;
        ::fcntl(output.read(), F_SETFL, O_NONBLOCK);
        while ((got = ::read(output.read(), buffer, sizeof buffer)) > 0) keep(result.output, buffer, got);
    }
    result.exitCode = exitCodeOf(status);
    return result;
}

}  // namespace fenta21
