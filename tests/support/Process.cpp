#include "tests/support/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fenta21::test {
namespace {

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

pid_t spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const std::string& outFile, const std::string& errFile) {
    std::vector<std::string> args = argv;
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (!env.count(entry.substr(0, entry.find('=')))) environment.push_back(entry);
    }
    for (const auto& [name, value] : env) environment.push_back(name + "=" + value);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    auto argp = pointers(args);
    auto envp = pointers(environment);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

int decodedStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

int exitStatus(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return decodedStatus(status);
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                         const std::string& scratchFolder) {
    std::string outFile = scratchFolder + "/process.out";
    std::string errFile = scratchFolder + "/process.err";
    pid_t pid = spawn(argv, env, outFile, errFile);
    ProcessResult result;
    result.exitCode = exitStatus(pid);
    result.out = slurp(outFile);
    result.err = slurp(errFile);
    return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, const std::string& logFile,
                                     const std::map<std::string, std::string>& env)
    : logFile_(logFile) {
    pid_ = spawn(argv, env, logFile, logFile + ".err");
}

std::string BackgroundProcess::output() const { return slurp(logFile_) + slurp(logFile_ + ".err"); }

BackgroundProcess::~BackgroundProcess() { stop(); }

bool BackgroundProcess::waitForPath(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void BackgroundProcess::signal(int signalNumber) {
    if (pid_ >= 0) kill(pid_, signalNumber);
}

int BackgroundProcess::stop(int signalNumber) {
    if (pid_ < 0) return -1;
    kill(pid_, signalNumber);
    int status = exitStatus(pid_);
    pid_ = -1;
    return status;
}

std::optional<int> BackgroundProcess::waitFor(std::chrono::milliseconds limit) {
    if (pid_ < 0) return std::nullopt;
    const auto until = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            pid_ = -1;
            return decodedStatus(status);
        }
        if (ended < 0 && errno != EINTR) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < until);
    return std::nullopt;
}

}  // namespace fenta21::test
