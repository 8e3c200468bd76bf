#include "core/base/HomeLock.h"

#include "core/base/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace fenta21 {

namespace {

std::string reason(int error) { return std::error_code(error, std::generic_category()).message(); }

}  // namespace

HomeLock::HomeLock(const std::string& homeFolder) {
    std::string path = joinPath(homeFolder.empty() ? "." : homeFolder, kHomeLockFileName);
    // Opened for reading only: a lock needs no write access, and the file is never written.
    // No link is followed, so the lock cannot be turned onto (and create) a file elsewhere;
    // O_NONBLOCK keeps a pipe put in its place from holding the open.
    int fd;
    do fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        problem_ = path + " cannot be opened: " + reason(errno);
        return;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        problem_ = path + " is not a regular file";
        ::close(fd);
        return;
    }
    int locked;
    do locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        problem_ = path + " cannot be locked: " + reason(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

HomeLock::~HomeLock() {
    // Closing the only descriptor of this open file releases the lock.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace fenta21
