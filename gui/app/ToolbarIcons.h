#pragma once

#include <QIcon>
#include <QString>

#include <array>

namespace fenta21::gui {

// The toolbar's nine buttons, left to right, without separators.
std::array<int, 9> toolbarCommands();

// A button's picture, drawn for the command (so it stays sharp at any scale).
QIcon toolbarIcon(int command);
// The tip a button shows under the mouse.
QString toolbarTip(int command);

}  // namespace fenta21::gui
