#include "core/base/FileStamp.h"

#include <sys/stat.h>

namespace fenta21 {

FileStamp fileStampOf(const std::string& path) {
    struct stat found {};
    if (::stat(path.c_str(), &found) != 0) return {};
    return FileStamp{true,
                     static_cast<std::uint64_t>(found.st_dev),
                     static_cast<std::uint64_t>(found.st_ino),
                     static_cast<std::int64_t>(found.st_size),
                     static_cast<std::int64_t>(found.st_mtim.tv_sec),
                     static_cast<std::int64_t>(found.st_mtim.tv_nsec)};
}

}  // namespace fenta21
