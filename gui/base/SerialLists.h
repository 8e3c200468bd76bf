#pragma once

#include <string>
#include <vector>

class QComboBox;
class QWidget;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// The speed list of the line dialogs: the ten speeds as "%dbps", in the speed table's order.
QComboBox* makeSpeedList(QWidget* parent);

// The device behind each of COM1 ... COM9 (empty where none), as comports.txt and the
// system's serial adapters map them now.
std::vector<std::string> comPortDevices(const Session& session);

}  // namespace fenta21::gui
