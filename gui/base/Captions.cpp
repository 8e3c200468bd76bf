#include "gui/base/Captions.h"

#include <QApplication>
#include <QFontMetrics>

namespace fenta21::gui {

QFont captionFont() {
    // Qt's own title bars use this font; window managers draw theirs bold.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return font;
}

int captionWidth(const QString& caption) {
    return QFontMetrics(captionFont()).horizontalAdvance(caption) + kTitleBarAllowance;
}

}  // namespace fenta21::gui
