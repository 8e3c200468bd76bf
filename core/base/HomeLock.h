#pragma once

#include <string>

namespace fenta21 {

// The file whose lock every program on one home folder takes before it changes a file there.
// It is made when first needed and never truncated or removed: removing it would let a program
// lock a new file while another still holds the old one.
inline constexpr const char* kHomeLockFileName = ".fenta21.lock";

// An exclusive lock of a home folder, held for the life of the object. The scheduler service,
// the desktop program and scripts share one home; each takes this lock around a
// read-change-write of a file there, so that no program writes over a change it has not read.
// It waits for the lock (a signal does not end the wait). Held only for the change itself,
// never across a collection or a question to the user: another program waits that long.
// A thread of one program that holds it must not take it again: it would wait for itself.
class HomeLock {
public:
    explicit HomeLock(const std::string& homeFolder);
    ~HomeLock();
    HomeLock(const HomeLock&) = delete;
    HomeLock& operator=(const HomeLock&) = delete;

    // False when the lock file could not be opened or locked (a home folder that is gone or
    // not writable, a link in the lock file's place); `problem` then says why, in plain words.
    bool held() const { return fd_ >= 0; }
    const std::string& problem() const { return problem_; }

private:
    int fd_ = -1;
    std::string problem_;
};

}  // namespace fenta21
