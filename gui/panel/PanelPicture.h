#pragma once

#include <QFont>
#include <QSize>

#include <string>

class QPainter;

namespace fenta21 {
struct PanelSnapshot;
}

namespace fenta21::gui {

// The logger's front panel as the view shows it: the case, the two-line display and the four
// keys, drawn at the sizes and places of the panel layout (device-independent pixels). An
// idle panel is drawn unlit; a running one lights its display, shows its two lines and draws
// the held key pressed.
void drawPanel(QPainter& painter, QSize size, const PanelSnapshot& snapshot);

// The display's font: fixed pitch with half-width katakana, as a character LCD has them.
QFont displayFont();

// The texts on the keys.
inline constexpr const char* kCollectionKeyText = "ﾃﾞｰﾀ回収";

}  // namespace fenta21::gui
