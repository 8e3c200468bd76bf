#include "core/serial/PortHolder.h"

#include "core/base/ProcessName.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace fenta21 {
namespace {

// /proc/locks names a locked file as "MAJOR:MINOR:INODE" of the file system holding it, the
// device numbers in hexadecimal, e.g. "1: FLOCK  ADVISORY  WRITE 4242 00:05:87 0 EOF".
std::string lockedFileId(const struct stat& named) {
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%llu", major(named.st_dev), minor(named.st_dev),
                  static_cast<unsigned long long>(named.st_ino));
    return id;
}

}  // namespace

PortHolder findPortHolder(const std::string& devicePath) {
    struct stat named {};
    if (::stat(devicePath.c_str(), &named) != 0) return {};
    const std::string wanted = lockedFileId(named);
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, file;
        int processId = 0;
        if (!(fields >> number >> kind)) continue;
        // A lock someone waits for is listed with "->" before its kind.
        if (kind == "->" && !(fields >> kind)) continue;
        if (kind != "FLOCK" || !(fields >> mode >> access >> processId >> file)) continue;
        if (file == wanted) return PortHolder{processId, processName(processId)};
    }
    return {};
}

}  // namespace fenta21
