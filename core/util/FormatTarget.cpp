#include "core/util/FormatTarget.h"

#include <filesystem>
#include <sys/stat.h>

namespace fenta21 {
namespace {

constexpr std::uint64_t kSectorBytes = 512;  // sysfs counts sizes in these

}  // namespace

FormatTarget checkFormatTarget(const std::string& text, const BlockDevices& devices) {
    FormatTarget target;
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::canonical(text, ec);
    std::string name = devices.blockNameOf(text);
    if (ec && name.empty()) return target;  // Missing

    if (!name.empty()) {
        target.path = devices.devicePath(name);
        std::set<std::string> forbidden = devices.protectedDisks();
        for (const std::string& disk : devices.wholeDisksUnder(name)) {
            if (forbidden.count(disk) != 0) {
                target.kind = TargetKind::Protected;
                return target;
            }
        }
        const BlockDisk* disk = devices.diskHolding(name);
        target.kind = TargetKind::BlockDevice;
        target.logicalBlockSize = disk->logicalBlockSize;
        target.sizeBytes = disk->sectors * kSectorBytes;
        std::set<std::string> mounted = devices.mountedNames();
        if (name == disk->name && mounted.count(disk->name) != 0) target.mounted.push_back(devices.devicePath(disk->name));
        for (const BlockPartition& partition : disk->partitions) {
            if (partition.name == name) target.sizeBytes = partition.sectors * kSectorBytes;
            if ((name == disk->name || name == partition.name) && mounted.count(partition.name) != 0)
                target.mounted.push_back(devices.devicePath(partition.name));
        }
        return target;
    }

    target.path = resolved.string();
    struct stat info {};
    if (::stat(target.path.c_str(), &info) != 0) return target;  // Missing
    if (S_ISREG(info.st_mode)) {
        target.kind = TargetKind::ImageFile;
        target.sizeBytes = static_cast<std::uint64_t>(info.st_size);
    } else {
        target.kind = TargetKind::NotADrive;
    }
    return target;
}

}  // namespace fenta21
