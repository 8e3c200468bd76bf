#include "core/base/NameClaim.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace fenta21 {
namespace {

int renameWithoutReplacing(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    // A C library older than the kernel: the same call, by number (1 is RENAME_NOREPLACE).
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, 1u));
#endif
}

// What a file system or kernel that has no such rename answers.
bool renameUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

}  // namespace

NameClaim claimName(const std::string& from, const std::string& to) {
    if (renameWithoutReplacing(from.c_str(), to.c_str()) == 0) return NameClaim::Claimed;
    if (errno == EEXIST) return NameClaim::Taken;
    if (!renameUnsupported(errno)) return NameClaim::Failed;
    if (::link(from.c_str(), to.c_str()) != 0) return errno == EEXIST ? NameClaim::Taken : NameClaim::Failed;
    // The file is stored under its name now; an old name that stays behind is an aside file
    // whose owner is gone, which the next start clears away.
    ::unlink(from.c_str());
    return NameClaim::Claimed;
}

}  // namespace fenta21
