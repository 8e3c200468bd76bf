#include "core/util/DriveList.h"

#include <filesystem>
#include <map>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSectorBytes = 512;  // sysfs counts sizes in these, whatever the disk's sector

bool isSkippedKind(const std::string& name) {
    for (const char* prefix : {"loop", "ram", "zram", "sr"})
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// udev writes a label's blanks and slashes as "\x20" and "\x2f" in the link's name.
std::string decodeLabel(const std::string& linkName) {
    std::string label;
    for (std::size_t i = 0; i < linkName.size(); ++i) {
        if (linkName[i] == '\\' && i + 3 < linkName.size() && linkName[i + 1] == 'x' && hexValue(linkName[i + 2]) >= 0 &&
            hexValue(linkName[i + 3]) >= 0) {
            label.push_back(static_cast<char>(hexValue(linkName[i + 2]) * 16 + hexValue(linkName[i + 3])));
            i += 3;
        } else {
            label.push_back(linkName[i]);
        }
    }
    return label;
}

// Device name -> label, from the links in disk/by-label.
std::map<std::string, std::string> readLabels(const std::string& devRoot) {
    std::map<std::string, std::string> labels;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(devRoot) / "disk" / "by-label", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError) labels[target.filename().string()] = decodeLabel(it->path().filename().string());
    }
    return labels;
}

Drive makeDrive(const BlockDevices& devices, const std::string& name, std::uint64_t sectors, bool removable,
                const std::map<std::string, std::string>& labels) {
    Drive drive;
    drive.device = devices.devicePath(name);
    drive.sizeBytes = sectors * kSectorBytes;
    if (auto found = labels.find(name); found != labels.end()) drive.label = found->second;
    drive.removable = removable;
    drive.displayText = drive.device + "  " + sizeText(drive.sizeBytes);
    if (!drive.label.empty()) drive.displayText += "  " + drive.label;
    return drive;
}

}  // namespace

std::string sizeText(std::uint64_t bytes) {
    // Whole numbers only: a decimal point from printf would follow the user's locale.
    // A size that rounds up to the next unit is written in it ("1.0 GB", not "1000 MB").
    if (bytes >= 999500000ULL) {
        std::uint64_t tenths = (bytes + 50000000ULL) / 100000000ULL;
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " GB";
    }
    if (bytes >= 999500ULL) return std::to_string((bytes + 500000ULL) / 1000000ULL) + " MB";
    return std::to_string((bytes + 500ULL) / 1000ULL) + " KB";
}

std::vector<Drive> listDrives(const BlockDevices& devices) {
    std::set<std::string> forbidden = devices.protectedDisks();
    std::map<std::string, std::string> labels = readLabels(devices.roots().dev);
    std::vector<Drive> drives;
    for (bool removable : {true, false}) {
        for (const BlockDisk& disk : devices.disks()) {
            if (disk.removable != removable || isSkippedKind(disk.name) || !disk.slaves.empty() || disk.sectors == 0 ||
                forbidden.count(disk.name) != 0)
                continue;
            drives.push_back(makeDrive(devices, disk.name, disk.sectors, disk.removable, labels));
            for (const BlockPartition& partition : disk.partitions)
                if (partition.sectors != 0)
                    drives.push_back(makeDrive(devices, partition.name, partition.sectors, disk.removable, labels));
        }
    }
    return drives;
}

}  // namespace fenta21
