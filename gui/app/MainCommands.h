#pragma once

#include "core/app/CommandTable.h"

#include <optional>
#include <vector>

class QPainter;

namespace fenta21::gui {

class CMainFrame;

// A toolbar picture, drawn on a 16 x 16 grid so that it stays sharp at any scale.
using IconDrawing = void (*)(QPainter& painter);

// Everything the main window knows of one command, in one row. Menus name commands by id and
// take their text from here (adding only a key label such as "\tCtrl+O").
struct MainCommand {
    int id;
    const char* text;  // the action's text; a menu item shows the same
    EnabledWhen enabled;
    const char* key;      // the accelerator of menu 128 in QKeySequence's portable form, or ""
    int functionKey;      // 1-8: F1 ... F8 run it through the heartbeat under both menus; 0 none
    int toolbarPlace;     // 1-9 from the left, 0 not on the toolbar
    const char* tip;      // the toolbar button's tip
    IconDrawing icon;     // the toolbar button's picture
    void (*run)(CMainFrame& frame, int command);  // the command's own work, without the enabled check
};

// Every command of the main window, in id order.
const std::vector<MainCommand>& mainCommands();
const MainCommand* findMainCommand(int id);
std::vector<int> allCommandIds();

// What a function key (a virtual-key code) runs through the heartbeat: the command it stands
// for, or nothing (F9, and any other key).
std::optional<int> functionKeyCommand(int virtualKey);

}  // namespace fenta21::gui
