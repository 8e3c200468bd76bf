#pragma once

#include <QFont>
#include <QString>

namespace fenta21::gui {

// A window manager draws the caption in its title bar beside the window's icon and its
// buttons, and cuts it ("RTC時… 値設定") when the window is narrower. These are the title
// bar's font and the room its icon, buttons and edges take, as the usual desktops draw them.
QFont captionFont();
inline constexpr int kTitleBarAllowance = 136;  // pixels: icon, three buttons, edges

// The width a window needs for its caption to be shown whole.
int captionWidth(const QString& caption);

}  // namespace fenta21::gui
