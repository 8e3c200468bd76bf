#pragma once

#include "core/util/BlockDevices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fenta21 {

// What a drive text names, and whether it may be formatted.
enum class TargetKind {
    BlockDevice,  // a disk or partition that holds neither the system nor a home folder
    ImageFile,    // a regular file: a card image
    Protected,    // the disk (or a partition of the disk) that holds the system or a home folder
    NotADrive,    // a folder, a character device, or a block device sysfs does not know
    Missing,
};

struct FormatTarget {
    TargetKind kind = TargetKind::Missing;
    std::string path;  // after its symlinks: what the formatter is given
    std::uint64_t sizeBytes = 0;
    std::uint32_t logicalBlockSize = 512;
    // The device nodes mounted now that the format would pull from under their users: the
    // partition itself, or a whole disk and each of its partitions.
    std::vector<std::string> mounted;
};

// Looks at a typed or chosen drive text. Symlinks (/dev/disk/by-id/...) and device numbers
// are followed, so that no other name for a protected disk gets past.
FormatTarget checkFormatTarget(const std::string& text, const BlockDevices& devices);

}  // namespace fenta21
