#pragma once

#include "tests/support/TempHome.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace fenta21::test {

// A made-up /dev and /sys under a temporary folder, for what the port lists read about
// serial devices. The tests lay out the devices they need with the helpers below.
struct FakeSerialTree {
    FakeSerialTree() : dev(home.root() + "/dev"), sys(home.root() + "/sys") {
        std::filesystem::create_directories(dev + "/serial/by-id");
    }

    void write(const std::string& path, const std::string& text) const { std::ofstream(path) << text; }
    // /sys/class/tty/NAME with its device link to `deviceFolder`.
    void linkTty(const std::string& name, const std::string& deviceFolder) const {
        std::filesystem::create_directories(sys + "/class/tty/" + name);
        std::filesystem::create_directory_symlink(deviceFolder, sys + "/class/tty/" + name + "/device");
    }

    TempHome home;
    std::string dev;
    std::string sys;
};

}  // namespace fenta21::test
