#include "core/remote/SchedulerClaim.h"

#include "core/base/Files.h"
#include "core/base/ProcessName.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

namespace fenta21 {
namespace {

int openClaimFile(const std::string& homeFolder, int flags) {
    return ::open(joinPath(homeFolder, kSchedulerClaimFileName).c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0644);
}

// The holder writes "PID NAME\n" once it has the lock; read from the file whoever has it.
SchedulerHolder readHolder(int fd) {
    char text[128] = {};
    ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    SchedulerHolder holder;
    if (n <= 0) return holder;
    char name[96] = {};
    if (std::sscanf(text, "%d %95s", &holder.processId, name) >= 1) holder.programName = name;
    return holder;
}

bool isLocked(int fd) {
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
        ::flock(fd, LOCK_UN);
        return false;
    }
    return errno == EWOULDBLOCK;
}

// The winner writes itself down just after it takes the lock; a loser in between waits a
// moment for it rather than naming nobody.
SchedulerHolder holderOnceWritten(int fd) {
    SchedulerHolder holder = readHolder(fd);
    for (int tries = 0; holder.processId == 0 && tries < 20; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        holder = readHolder(fd);
    }
    return holder;
}

}  // namespace

std::optional<SchedulerClaim> SchedulerClaim::take(const std::string& homeFolder, SchedulerHolder& holder) {
    int fd = openClaimFile(homeFolder, O_RDWR | O_CREAT);
    if (fd < 0) {
        holder = {};
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        holder = holderOnceWritten(fd);
        ::close(fd);
        return std::nullopt;
    }
    std::string self = std::to_string(::getpid()) + " " + processName(::getpid()) + "\n";
    // The claim holds without the note; a second scheduler is then refused without a name.
    bool noted = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, self.data(), self.size(), 0) == static_cast<ssize_t>(self.size());
    (void)noted;
    return SchedulerClaim(fd);
}

std::optional<SchedulerHolder> SchedulerClaim::holder(const std::string& homeFolder) {
    int fd = openClaimFile(homeFolder, O_RDONLY);
    if (fd < 0) return std::nullopt;
    std::optional<SchedulerHolder> found;
    if (isLocked(fd)) found = holderOnceWritten(fd);
    ::close(fd);
    return found;
}

SchedulerClaim::SchedulerClaim(SchedulerClaim&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

SchedulerClaim& SchedulerClaim::operator=(SchedulerClaim&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

SchedulerClaim::~SchedulerClaim() {
    // Closing the file ends the lock; the note stays for nobody to read, as a lock that is not
    // held names no one.
    if (fd_ >= 0) ::close(fd_);
}

std::string schedulerHolderText(const SchedulerHolder& holder) {
    if (holder.processId == 0) return "another program";
    std::string name = holder.programName.empty() ? "a program" : holder.programName;
    return name + " (process " + std::to_string(holder.processId) + ")";
}

std::string otherSchedulerNotice(const SchedulerHolder& holder) {
    std::string who;
    if (holder.processId != 0)
        who = "(" + (holder.programName.empty() ? std::string() : holder.programName + " ") + "PID " +
              std::to_string(holder.processId) + ")";
    return "予約回収は他のプログラム" + who + "が実行中です!! ";
}

}  // namespace fenta21
