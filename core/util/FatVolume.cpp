#include "core/util/FatVolume.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <vector>

namespace fenta21 {
namespace {

constexpr std::uint64_t kBootSectorBytes = 512;
// The smallest and largest cluster counts each table width can address.
constexpr std::uint64_t kFat12Limit = 4085;
constexpr std::uint64_t kFat32MaxClusters = 0x0FFFFFF5;
constexpr std::uint32_t kFat32EntryMask = 0x0FFFFFFF;
constexpr std::uint32_t kFat32EndOfChain = 0x0FFFFFF8;
// A directory holds at most 65536 entries of 32 bytes, whatever its cluster size.
constexpr std::uint64_t kLargestDirectoryBytes = 65536 * 32;
// The table is read in pieces of this size, so that a large card's table never sits in memory whole.
constexpr std::size_t kTableChunkBytes = 1 << 20;

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool open() const { return fd_ >= 0; }
    // Block devices report no size to fstat; seeking to the end works for both.
    std::uint64_t size() const {
        off_t end = ::lseek(fd_, 0, SEEK_END);
        return end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
    bool readAt(std::uint64_t offset, unsigned char* into, std::size_t count) const {
        while (count > 0) {
            ssize_t got = ::pread(fd_, into, count, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            into += got;
            offset += static_cast<std::uint64_t>(got);
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int fd_;
};

std::uint32_t le16(const unsigned char* at) { return static_cast<std::uint32_t>(at[0] | (at[1] << 8)); }
std::uint32_t le32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

bool isPowerOfTwoIn(std::uint32_t value, std::uint32_t low, std::uint32_t high) {
    return value >= low && value <= high && (value & (value - 1)) == 0;
}

// The layout a boot sector describes, checked against itself and the volume's length.
struct Layout {
    int fatBits = 0;
    std::uint64_t bytesPerSector = 0;
    std::uint64_t sectorsPerCluster = 0;
    std::uint64_t tableOffset = 0;  // bytes from the volume's start to the first table
    std::uint64_t clusters = 0;
    std::uint32_t rootCluster = 0;  // FAT32
};

std::optional<Layout> readLayout(const unsigned char* boot, std::uint64_t volumeBytes) {
    if (boot[510] != 0x55 || boot[511] != 0xAA) return std::nullopt;
    std::uint32_t bytesPerSector = le16(boot + 11);
    std::uint32_t sectorsPerCluster = boot[13];
    std::uint32_t reserved = le16(boot + 14);
    std::uint32_t tables = boot[16];
    std::uint32_t rootEntries = le16(boot + 17);
    std::uint64_t totalSectors = le16(boot + 19) != 0 ? le16(boot + 19) : le32(boot + 32);
    std::uint32_t tableSectors16 = le16(boot + 22);
    bool fat32 = tableSectors16 == 0;
    std::uint64_t tableSectors = fat32 ? le32(boot + 36) : tableSectors16;
    if (!isPowerOfTwoIn(bytesPerSector, 512, 4096) || !isPowerOfTwoIn(sectorsPerCluster, 1, 128) || reserved == 0 ||
        tables == 0 || tableSectors == 0 || (fat32 && rootEntries != 0))
        return std::nullopt;
    if (totalSectors * bytesPerSector > volumeBytes) return std::nullopt;  // cut short
    std::uint64_t rootSectors = (std::uint64_t{rootEntries} * 32 + bytesPerSector - 1) / bytesPerSector;
    std::uint64_t dataStart = reserved + std::uint64_t{tables} * tableSectors + rootSectors;
    if (dataStart >= totalSectors) return std::nullopt;

    Layout layout;
    layout.bytesPerSector = bytesPerSector;
    layout.sectorsPerCluster = sectorsPerCluster;
    layout.tableOffset = std::uint64_t{reserved} * bytesPerSector;
    layout.clusters = (totalSectors - dataStart) / sectorsPerCluster;
    layout.fatBits = fat32 ? 32 : layout.clusters < kFat12Limit ? 12 : 16;
    if (layout.clusters == 0 || (fat32 && layout.clusters > kFat32MaxClusters)) return std::nullopt;
    // The table must have an entry for every cluster, beside the two reserved ones.
    if ((layout.clusters + 2) * static_cast<std::uint64_t>(layout.fatBits) > tableSectors * bytesPerSector * 8)
        return std::nullopt;
    if (fat32) {
        layout.rootCluster = le32(boot + 44);
        if (layout.rootCluster < 2 || layout.rootCluster > layout.clusters + 1) return std::nullopt;
    }
    return layout;
}

// Counts the free entries of clusters 2 .. clusters + 1.
std::optional<std::uint64_t> countFree(const ReadOnlyFile& file, const Layout& layout) {
    std::uint64_t first = 2, last = layout.clusters + 1;
    std::uint64_t free = 0;
    if (layout.fatBits == 12) {
        // At most 4084 clusters: the whole table is a few kilobytes, and its 12-bit entries
        // straddle bytes, so it is read at once.
        std::vector<unsigned char> table((last + 1) * 3 / 2 + 2);
        if (!file.readAt(layout.tableOffset, table.data(), table.size())) return std::nullopt;
        for (std::uint64_t n = first; n <= last; ++n) {
            std::uint32_t pair = le16(table.data() + n * 3 / 2);
            std::uint32_t entry = (n & 1) != 0 ? pair >> 4 : pair & 0x0FFF;
            if (entry == 0) ++free;
        }
        return free;
    }
    std::uint64_t entryBytes = static_cast<std::uint64_t>(layout.fatBits / 8);
    std::vector<unsigned char> chunk(kTableChunkBytes);
    for (std::uint64_t n = first; n <= last;) {
        std::uint64_t count = std::min<std::uint64_t>(last - n + 1, kTableChunkBytes / entryBytes);
        if (!file.readAt(layout.tableOffset + n * entryBytes, chunk.data(), count * entryBytes)) return std::nullopt;
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* at = chunk.data() + i * entryBytes;
            std::uint32_t entry = entryBytes == 2 ? le16(at) : le32(at) & kFat32EntryMask;
            if (entry == 0) ++free;
        }
        n += count;
    }
    return free;
}

// The length of the FAT32 root directory's chain. A chain that leaves the volume ends there;
// one that comes round to a cluster it passed ends before it.
std::uint64_t rootChainLength(const ReadOnlyFile& file, const Layout& layout) {
    std::uint64_t unit = layout.bytesPerSector * layout.sectorsPerCluster;
    std::uint64_t longest = std::min(layout.clusters, (kLargestDirectoryBytes + unit - 1) / unit);
    std::set<std::uint32_t> passed;
    std::uint32_t cluster = layout.rootCluster;
    while (passed.size() < longest && passed.insert(cluster).second) {
        unsigned char entry[4];
        if (!file.readAt(layout.tableOffset + std::uint64_t{cluster} * 4, entry, sizeof entry)) break;
        std::uint32_t next = le32(entry) & kFat32EntryMask;
        if (next >= kFat32EndOfChain || next < 2 || next > layout.clusters + 1) break;
        cluster = next;
    }
    return passed.size();
}

}  // namespace

std::optional<FatSizes> readFatSizes(const std::string& path) {
    ReadOnlyFile file(path);
    if (!file.open()) return std::nullopt;
    std::uint64_t volumeBytes = file.size();
    unsigned char boot[kBootSectorBytes];
    if (volumeBytes < kBootSectorBytes || !file.readAt(0, boot, sizeof boot)) return std::nullopt;
    std::optional<Layout> layout = readLayout(boot, volumeBytes);
    if (!layout) return std::nullopt;
    std::optional<std::uint64_t> free = countFree(file, *layout);
    if (!free) return std::nullopt;

    FatSizes sizes;
    sizes.fatBits = layout->fatBits;
    sizes.allocationUnit = layout->bytesPerSector * layout->sectorsPerCluster;
    sizes.totalClusters = layout->clusters;
    sizes.freeClusters = *free;
    if (layout->fatBits == 32) sizes.rootDirectoryClusters = rootChainLength(file, *layout);
    return sizes;
}

}  // namespace fenta21
