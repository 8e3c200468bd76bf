#pragma once

#include <string>

class QWidget;

namespace fenta21::gui {

inline constexpr const char* kLogProblemBoxName = "logProblemBox";

// Says that entries of a log file (ERR.LOG, RSV.LOG) are being lost. The box does not wait for
// an answer: the report that found the problem may come from the scheduler, which must go on
// collecting unattended.
void showLogNotWritten(QWidget* parent, const std::string& path, int errorNumber);

}  // namespace fenta21::gui
