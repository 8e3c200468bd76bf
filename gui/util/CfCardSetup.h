#pragma once

#include "core/util/CfCardFormat.h"
#include "core/util/DriveList.h"

#include <functional>
#include <string>
#include <vector>

namespace fenta21::gui {

// What the CF card window works with: the system's disks and the programs that format them.
// The main window keeps one; a test puts its own drives or programs in it.
struct CfCardSetup {
    CfCardTools tools;
    // The drives offered when the window opens; the system's own when not set.
    std::function<std::vector<Drive>()> listDrives;

    std::vector<Drive> drives() const { return listDrives ? listDrives() : fenta21::listDrives(BlockDevices(tools.roots)); }
};

// The setup for this system, protecting its root, the program's home folder and the user's.
inline CfCardSetup systemCfCardSetup(const std::string& homeFolder) {
    CfCardSetup setup;
    setup.tools.roots = systemRoots(homeFolder);
    return setup;
}

}  // namespace fenta21::gui
