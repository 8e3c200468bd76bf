#pragma once

#include "tests/support/FileSizeLimit.h"

#include <optional>
#include <string>
#include <vector>

namespace fenta21::test {

// The disk under a test's home folder and its collection folders, made to fail the way disks
// do: a folder removed, a folder made read-only, no room left.
//
// Where the process has mounts of its own (see enterPrivateMounts), everything under `root`
// moves onto a small tmpfs that only this process sees. "Full" then fills that file system,
// as a real full disk does, for the data files and the logs alike, and "read-only" lays a
// read-only view over the folder. Elsewhere a full disk is simulated with RLIMIT_FSIZE (no
// file of the process grows beyond the size the growing file has reached), and read-only is
// a chmod, which root does not notice: that fault is then unavailable.
class ScratchDisk {
public:
    // A mount namespace of this process's own, with nothing propagating out of it. Only a
    // process that is still single-threaded can enter one; the first call decides.
    // FENTA21_SOAK_NO_MOUNTS=1 does without.
    static bool enterPrivateMounts();

    explicit ScratchDisk(std::string root);
    ~ScratchDisk();
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    bool ownFileSystem() const { return mounted_; }
    bool canMakeReadOnly() const;
    // How a full disk is made here, for the summary.
    std::string fullDiskKind() const;

    void removeFolder(const std::string& folder);
    // False when it cannot be done here.
    bool makeReadOnly(const std::string& folder);
    // No room from now on; `growingFile` is the file being written (for RLIMIT_FSIZE).
    void fill(const std::string& growingFile);
    // Every fault undone: room again, folders writable and there.
    void restore();

private:
    std::string root_;
    bool mounted_ = false;
    std::vector<std::string> removed_;
    std::vector<std::string> readOnlyViews_;
    std::vector<std::string> chmodded_;
    bool filled_ = false;
    std::optional<FileSizeLimit> sizeLimit_;
};

}  // namespace fenta21::test
