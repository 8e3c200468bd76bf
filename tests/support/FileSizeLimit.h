#pragma once

// A disk without room, for tests that cannot have a full file system of their own: while the
// object lives, no file of this process grows beyond `bytes` (RLIMIT_FSIZE). A write beyond
// fails with EFBIG, as one on a full disk fails with ENOSPC, instead of ending the process.

#include <sys/resource.h>

#include <csignal>

namespace fenta21::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        if (active_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

}  // namespace fenta21::test
