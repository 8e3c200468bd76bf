#pragma once

#include "core/util/BlockDevices.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fenta21 {

// A place a card can be formatted: a whole disk or one of its partitions.
struct Drive {
    std::string device;  // "/dev/sdb1"
    std::uint64_t sizeBytes = 0;
    std::string label;   // the file system's volume label, when it has one
    bool removable = false;
    std::string displayText;  // "/dev/sdb1  1.9 GB  CARD"
};

// The drives the CF card window offers: removable disks first, then the other disks, each
// followed by its partitions. The disks that hold the system or the home folder are never
// among them, nor loop, RAM, compressed-RAM and optical devices, mapper and RAID devices
// (they are not where a card sits), or a reader slot with no card in it.
std::vector<Drive> listDrives(const BlockDevices& devices);

// A size the way card makers print it, in decimal units: "512 KB", "64 MB", "1.9 GB".
std::string sizeText(std::uint64_t bytes);

}  // namespace fenta21
