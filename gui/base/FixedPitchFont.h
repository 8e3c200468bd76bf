#pragma once

#include <QFont>

namespace fenta21::gui {

// Fixed pitch with half-width katakana, so that columns of logger text, CSV and log records
// line up as they were written.
inline QFont fixedPitchFont(int pointSize = 9) {
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace fenta21::gui
