#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// Where the system tells about its disks. The program reads the real ones; tests lay a small
// tree of the same shape in a temporary folder and point these at it.
struct SystemRoots {
    std::string sysfs = "/sys";                   // holds block/<disk>/<partition>
    std::string dev = "/dev";                     // device nodes and disk/by-label
    std::string mountsFile = "/proc/self/mounts";
    std::string swapsFile = "/proc/swaps";
    // A disk that holds any of these (through any partition, mapper or RAID member) is never
    // offered and never formatted.
    std::vector<std::string> protectedFolders{"/"};
};

// The real roots, protecting the system ("/"), the program's home folder and the user's own.
SystemRoots systemRoots(const std::string& homeFolder);

}  // namespace fenta21
