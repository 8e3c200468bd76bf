#pragma once

#include <QIcon>

namespace fenta21::gui {

// The program's icon, drawn: a small logger with its display and a wave on it.
QIcon programIcon();

}  // namespace fenta21::gui
