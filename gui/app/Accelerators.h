#pragma once

#include <QKeySequence>

#include <vector>

namespace fenta21::gui {

// One key of the accelerator table and the command it runs (with the command's enabled check).
struct Accelerator {
    QKeySequence key;
    int command;
    // The virtual-key code when the key is a function key, else 0: the view must not hand
    // the release of a key to the heartbeat when its press has already run the command.
    int functionKey = 0;
};

// The accelerator table of main menu 128. The edit keys belong to the view, the framework's
// new, open, print and save have nothing to do in this program, and Alt+E is the menu bar's.
std::vector<Accelerator> acceleratorTable();

}  // namespace fenta21::gui
