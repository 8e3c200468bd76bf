#include "gui/base/Captions.h"

#include <QApplication>
#include <QFontMetricsF>

#include <cmath>

namespace fenta21::gui {

QFont captionFont() {
    // Qt's own title bars use this font; window managers draw theirs bold.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return font;
}

int captionWidth(const QString& caption) {
    // Rounded up, with a pixel to spare: a caption is cut as soon as it is a fraction too wide.
    double text = QFontMetricsF(captionFont()).horizontalAdvance(caption);
    return static_cast<int>(std::ceil(text)) + 1 + kTitleBarAllowance;
}

}  // namespace fenta21::gui
