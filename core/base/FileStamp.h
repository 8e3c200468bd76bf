#pragma once

#include <cstdint>
#include <string>

namespace fenta21 {

// What tells one version of a file from the next without reading it: a file renamed into place
// has another inode, a file changed in place another size or modification time (to the
// nanosecond). A missing file has a stamp of its own, so its appearance is a change too.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// One stat of the file (links followed, as a read of it follows them).
FileStamp fileStampOf(const std::string& path);

}  // namespace fenta21
