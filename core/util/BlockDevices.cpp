#include "core/util/BlockDevices.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

// Mapper devices over mapper devices over partitions: deeper than this is a loop in a tree
// that is not the kernel's.
constexpr int kMaxStacking = 8;

// The first line of a small sysfs file, without its line end; empty when there is none.
std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::uint64_t numberIn(const fs::path& file, std::uint64_t fallback) {
    std::string text = firstLine(file);
    if (text.empty()) return fallback;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    return end != nullptr && *end == '\0' ? value : fallback;
}

std::string numberText(dev_t device) {
    return std::to_string(major(device)) + ":" + std::to_string(minor(device));
}

// Undoes the octal escapes of the mounts and swaps files ("\040" for a blank).
std::string unescapeOctal(const std::string& field) {
    auto octalDigit = [&](std::size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && octalDigit(i + 1) && octalDigit(i + 2) && octalDigit(i + 3)) {
            out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<std::string> entryNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

BlockDisk readDisk(const fs::path& folder) {
    BlockDisk disk;
    disk.name = folder.filename().string();
    disk.number = firstLine(folder / "dev");
    disk.removable = firstLine(folder / "removable") == "1";
    disk.sectors = numberIn(folder / "size", 0);
    disk.logicalBlockSize = static_cast<std::uint32_t>(numberIn(folder / "queue" / "logical_block_size", 512));
    if (disk.logicalBlockSize == 0) disk.logicalBlockSize = 512;
    for (const std::string& entry : entryNames(folder)) {
        fs::path child = folder / entry;
        std::error_code ec;
        if (!fs::exists(child / "partition", ec)) continue;
        BlockPartition partition;
        partition.name = entry;
        partition.number = firstLine(child / "dev");
        partition.sectors = numberIn(child / "size", 0);
        partition.index = static_cast<int>(numberIn(child / "partition", 0));
        disk.partitions.push_back(partition);
    }
    std::sort(disk.partitions.begin(), disk.partitions.end(),
              [](const BlockPartition& a, const BlockPartition& b) { return a.index < b.index; });
    disk.slaves = entryNames(folder / "slaves");
    return disk;
}

// Whether `path` is `mountPoint` or lies below it.
bool liesUnder(const std::string& path, const std::string& mountPoint) {
    if (mountPoint == "/") return !path.empty() && path.front() == '/';
    return path == mountPoint || (path.size() > mountPoint.size() && path.compare(0, mountPoint.size(), mountPoint) == 0 &&
                                  path[mountPoint.size()] == '/');
}

std::string absoluteResolved(const std::string& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) return fs::path(path).lexically_normal().string();
    std::string text = resolved.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

SystemRoots systemRoots(const std::string& homeFolder) {
    SystemRoots roots;
    if (!homeFolder.empty()) roots.protectedFolders.push_back(homeFolder);
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') roots.protectedFolders.push_back(home);
    return roots;
}

std::vector<MountEntry> readMounts(const std::string& path) {
    std::vector<MountEntry> mounts;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint;
        if (fields >> source >> mountPoint) mounts.push_back({unescapeOctal(source), unescapeOctal(mountPoint)});
    }
    return mounts;
}

BlockDevices::BlockDevices(SystemRoots roots) : roots_(std::move(roots)) {
    for (const std::string& name : entryNames(fs::path(roots_.sysfs) / "block"))
        disks_.push_back(readDisk(fs::path(roots_.sysfs) / "block" / name));
    mounts_ = readMounts(roots_.mountsFile);
}

const BlockDisk* BlockDevices::diskHolding(const std::string& name) const {
    for (const BlockDisk& disk : disks_) {
        if (disk.name == name) return &disk;
        for (const BlockPartition& partition : disk.partitions)
            if (partition.name == name) return &disk;
    }
    return nullptr;
}

std::string BlockDevices::devicePath(const std::string& name) const { return (fs::path(roots_.dev) / name).string(); }

std::string BlockDevices::nameOfNumber(const std::string& number) const {
    for (const BlockDisk& disk : disks_) {
        if (disk.number == number) return disk.name;
        for (const BlockPartition& partition : disk.partitions)
            if (partition.number == number) return partition.name;
    }
    return {};
}

std::string BlockDevices::blockNameOf(const std::string& path) const {
    // The system's files name /dev; a tree laid for a test has its own dev root.
    if (path.empty() || path.front() != '/') return {};  // "tmpfs", "proc": no device
    std::string mapped = path;
    if (roots_.dev != "/dev" && path.rfind("/dev/", 0) == 0) mapped = roots_.dev + path.substr(4);
    std::error_code ec;
    fs::path resolved = fs::canonical(mapped, ec);
    if (ec) return {};
    struct stat info {};
    if (::stat(resolved.c_str(), &info) == 0 && S_ISBLK(info.st_mode)) return nameOfNumber(numberText(info.st_rdev));
    fs::path devRoot = fs::canonical(roots_.dev, ec);
    if (ec || resolved.parent_path() != devRoot) return {};
    std::string name = resolved.filename().string();
    return diskHolding(name) != nullptr ? name : std::string();
}

void BlockDevices::addWholeDisks(const std::string& name, std::set<std::string>& disks, int depth) const {
    const BlockDisk* disk = diskHolding(name);
    if (disk == nullptr || depth > kMaxStacking) return;
    disks.insert(disk->name);
    for (const std::string& slave : disk->slaves) addWholeDisks(slave, disks, depth + 1);
}

std::set<std::string> BlockDevices::wholeDisksUnder(const std::string& name) const {
    std::set<std::string> disks;
    addWholeDisks(name, disks, 0);
    return disks;
}

std::set<std::string> BlockDevices::namesHolding(const std::string& path) const {
    std::set<std::string> names;
    // The device number of the file system: it finds the disk even where the mounts file
    // says only "/dev/root".
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        std::string name = nameOfNumber(numberText(info.st_dev));
        if (!name.empty()) names.insert(name);
    }
    // The mount's source: it finds the disk where the number does not (btrfs, a test's tree).
    std::string where = absoluteResolved(path);
    const MountEntry* holder = nullptr;
    for (const MountEntry& mount : mounts_) {
        if (!liesUnder(where, mount.mountPoint)) continue;
        // The longest mount point holds the path; of two alike, the later covers the earlier.
        if (holder == nullptr || mount.mountPoint.size() >= holder->mountPoint.size()) holder = &mount;
    }
    if (holder != nullptr) {
        std::string name = blockNameOf(holder->source);
        if (!name.empty()) names.insert(name);
    }
    return names;
}

std::set<std::string> BlockDevices::protectedDisks() const {
    std::set<std::string> names;
    for (const std::string& folder : roots_.protectedFolders) names.merge(namesHolding(folder));
    // A disk that the system swaps to is in use by the system as much as its root.
    std::ifstream swaps(roots_.swapsFile);
    std::string line;
    std::getline(swaps, line);  // the heading
    while (std::getline(swaps, line)) {
        std::istringstream fields(line);
        std::string area;
        if (!(fields >> area)) continue;
        area = unescapeOctal(area);
        std::string name = blockNameOf(area);
        if (!name.empty()) names.insert(name);
        else names.merge(namesHolding(area));
    }
    std::set<std::string> disks;
    for (const std::string& name : names) addWholeDisks(name, disks, 0);
    return disks;
}

std::set<std::string> BlockDevices::mountedNames() const {
    std::set<std::string> names;
    for (const MountEntry& mount : mounts_) {
        std::string name = blockNameOf(mount.source);
        if (!name.empty()) names.insert(name);
    }
    return names;
}

}  // namespace fenta21
