#pragma once

#include "core/util/SystemRoots.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace fenta21 {

struct BlockPartition {
    std::string name;  // "sdb1"
    std::string number;  // "maj:min"
    std::uint64_t sectors = 0;  // of 512 bytes, whatever the disk's own sector size
    int index = 0;     // the partition's number on its disk
};

struct BlockDisk {
    std::string name;    // "sdb"
    std::string number;  // "maj:min"
    bool removable = false;
    std::uint64_t sectors = 0;  // of 512 bytes
    std::uint32_t logicalBlockSize = 512;
    std::vector<BlockPartition> partitions;  // by their index
    std::vector<std::string> slaves;         // what a mapper or RAID device is made of
};

struct MountEntry {
    std::string source;      // "/dev/sdb1", "/dev/mapper/root", "tmpfs"
    std::string mountPoint;
};

// /proc/self/mounts (or a file of its form), with its octal escapes ("\040" a blank) undone.
std::vector<MountEntry> readMounts(const std::string& path);

// The block devices of the system as sysfs lists them, and the questions the drive list and
// the format ask about them: which disk a path is, and which disks hold the system.
class BlockDevices {
public:
    explicit BlockDevices(SystemRoots roots);

    const SystemRoots& roots() const { return roots_; }
    const std::vector<BlockDisk>& disks() const { return disks_; }
    // The whole disk that `name` is or is a partition of; nullptr when sysfs does not know it.
    const BlockDisk* diskHolding(const std::string& name) const;
    // The device node of a disk or partition name, under the dev root.
    std::string devicePath(const std::string& name) const;

    // The disk or partition name a path stands for, after its symlinks: a block device node
    // by its device number, or an entry of the dev root by its name. Empty when it is neither.
    std::string blockNameOf(const std::string& path) const;

    // The whole disks below a disk or partition name, through mapper and RAID members.
    std::set<std::string> wholeDisksUnder(const std::string& name) const;
    // The whole disks that hold a protected folder, a mounted swap area, or the mount of either.
    std::set<std::string> protectedDisks() const;

    // The disk and partition names that are mounted now.
    std::set<std::string> mountedNames() const;

private:
    std::string nameOfNumber(const std::string& number) const;
    // The names behind the file system that holds `path`: its mount's source and its device.
    std::set<std::string> namesHolding(const std::string& path) const;
    void addWholeDisks(const std::string& name, std::set<std::string>& disks, int depth) const;

    SystemRoots roots_;
    std::vector<BlockDisk> disks_;
    std::vector<MountEntry> mounts_;
};

}  // namespace fenta21
