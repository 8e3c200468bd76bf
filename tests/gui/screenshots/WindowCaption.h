#pragma once

#include <QImage>

class QWidget;

namespace fenta21::screenshots {

// The virtual display has no window manager, so the picture gets the caption bar drawn above
// the window's own contents, the way a window manager draws it: the icon, the caption in the
// title bar's font, cut in the middle ("RTC時… 値設定") where the window is too narrow for it,
// and the buttons. The caption is part of what a person checks.
QImage withCaption(QWidget* window);

}  // namespace fenta21::screenshots
