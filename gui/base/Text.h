#pragma once

#include <QString>

#include <string>

namespace fenta21::gui {

// Text in memory is UTF-8 on both sides of the window boundary.
inline QString qs(const std::string& text) { return QString::fromStdString(text); }
inline std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace fenta21::gui
