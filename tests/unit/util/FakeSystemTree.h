#pragma once

// A small sysfs, dev folder, mounts and swaps file of the real shapes, laid in a temporary
// folder, for the drive list and the format's checks. Device numbers use a major no real
// disk has, so the test machine's own disks never match them.
#include "core/util/SystemRoots.h"
#include "tests/support/TempHome.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace fenta21::test {

class FakeSystemTree {
public:
    FakeSystemTree() {
        namespace fs = std::filesystem;
        fs::create_directories(sysfs() + "/block");
        fs::create_directories(dev() + "/disk/by-label");
        fs::create_directories(dev() + "/disk/by-id");
        write(mountsFile(), "proc /proc proc rw 0 0\ntmpfs /run tmpfs rw 0 0\n");
        write(swapsFile(), "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n");
    }

    std::string sysfs() const { return temp_.root() + "/sys"; }
    std::string dev() const { return temp_.root() + "/dev"; }
    std::string mountsFile() const { return temp_.root() + "/mounts"; }
    std::string swapsFile() const { return temp_.root() + "/swaps"; }
    std::string node(const std::string& name) const { return dev() + "/" + name; }

    SystemRoots roots(std::vector<std::string> protectedFolders = {"/", "/home/kawabe"}) const {
        return SystemRoots{sysfs(), dev(), mountsFile(), swapsFile(), std::move(protectedFolders)};
    }

    // A disk with its device node (an empty file, or an image when the test makes one there).
    void disk(const std::string& name, int minor, bool removable, std::uint64_t sectors, int logicalBlock = 512) {
        std::string folder = sysfs() + "/block/" + name;
        std::filesystem::create_directories(folder + "/queue");
        std::filesystem::create_directories(folder + "/slaves");
        write(folder + "/dev", number(minor));
        write(folder + "/removable", removable ? "1\n" : "0\n");
        write(folder + "/size", std::to_string(sectors) + "\n");
        write(folder + "/queue/logical_block_size", std::to_string(logicalBlock) + "\n");
        touch(node(name));
    }
    void partition(const std::string& disk, const std::string& name, int index, int minor, std::uint64_t sectors) {
        std::string folder = sysfs() + "/block/" + disk + "/" + name;
        std::filesystem::create_directories(folder);
        write(folder + "/dev", number(minor));
        write(folder + "/partition", std::to_string(index) + "\n");
        write(folder + "/size", std::to_string(sectors) + "\n");
        touch(node(name));
    }
    // A mapper or RAID device `name` made of `member`.
    void slave(const std::string& name, const std::string& member) {
        std::ofstream(sysfs() + "/block/" + name + "/slaves/" + member);
    }
    void link(const std::string& linkPath, const std::string& target) {
        std::filesystem::create_directories(std::filesystem::path(dev() + "/" + linkPath).parent_path());
        std::filesystem::create_symlink(target, dev() + "/" + linkPath);
    }
    // A mount line as the kernel writes it: sources under /dev, blanks as \040.
    void mount(const std::string& source, const std::string& point) { append(mountsFile(), source + " " + point + " vfat rw 0 0\n"); }
    void swap(const std::string& area) { append(swapsFile(), area + "\tpartition\t1048572\t0\t-2\n"); }

private:
    static std::string number(int minor) { return "4000:" + std::to_string(minor) + "\n"; }
    static void write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static void append(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::app) << text; }
    static void touch(const std::string& path) {
        if (!std::filesystem::exists(path)) std::ofstream{path};
    }

    TempHome temp_;
};

}  // namespace fenta21::test
