#include "gui/base/SerialLists.h"

#include "core/session/Session.h"
#include "core/serial/ComPortMap.h"
#include "core/serial/TTYInfo.h"

#include <QComboBox>
#include <QString>

namespace fenta21::gui {

QComboBox* makeSpeedList(QWidget* parent) {
    auto* speeds = new QComboBox(parent);
    speeds->setObjectName("speedList");
    for (auto speed : kSpeedTable) speeds->addItem(QString("%1bps").arg(speed));
    return speeds;
}

std::vector<std::string> comPortDevices(const Session& session) {
    // The same table that "fenta21-cli ports" prints, from the same look at the system.
    ComPortMap map = ComPortMap::load(session.homeFile("comports.txt"));
    std::vector<std::string> devices;
    for (const ComPortEntry& entry : map.entries(systemSerialAdapters())) devices.push_back(entry.device);
    return devices;
}

}  // namespace fenta21::gui
