#pragma once

#include <QString>

#include <vector>

namespace fenta21::gui {

// The two main menus: 145 has the top-level option item, 128 does not; 128 alone comes with
// the accelerator table.
enum class MainMenuKind { WithoutOptions = 128, WithOptions = 145 };

// One entry of a menu: a command (command != 0), a submenu (children), or a separator.
struct MenuEntry {
    QString text;
    int command = 0;
    std::vector<MenuEntry> children;
    bool separator = false;
};

// The top-level entries of the main menu, in order.
std::vector<MenuEntry> mainMenu(MainMenuKind kind);

}  // namespace fenta21::gui
