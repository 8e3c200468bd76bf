#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fenta21 {

// The sizes of a FAT file system as the card window shows them, counted from the volume
// itself: its boot sector and a scan of its first allocation table.
struct FatSizes {
    int fatBits = 0;                  // 12, 16 or 32
    std::uint64_t allocationUnit = 0;  // bytes per sector x sectors per cluster
    std::uint64_t totalClusters = 0;
    std::uint64_t freeClusters = 0;
    // The clusters of the root directory's chain. Only FAT32 keeps its root directory in
    // clusters, so an empty FAT32 volume has one cluster in use; FAT12 and FAT16 have 0 here.
    std::uint64_t rootDirectoryClusters = 0;

    std::uint64_t totalBytes() const { return allocationUnit * totalClusters; }
    std::uint64_t freeBytes() const { return allocationUnit * freeClusters; }
    // Nothing but the root directory takes room: the volume holds no file's data.
    bool empty() const { return freeClusters + rootDirectoryClusters == totalClusters; }
};

// Reads the sizes from an image file or a block device. Anything that is not a sound FAT
// volume (too short, damaged, another file system, a table pointing outside the volume) gives
// nothing: it is "not readable", never a guess.
std::optional<FatSizes> readFatSizes(const std::string& path);

}  // namespace fenta21
