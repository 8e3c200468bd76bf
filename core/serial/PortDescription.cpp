#include "core/serial/PortDescription.h"

namespace fenta21 {

std::string describeSerialAdapter(const SerialAdapter& adapter) {
    if (adapter.devicePath.empty()) return {};
    std::string text = adapter.stableName.empty() ? adapter.devicePath : adapter.stableName;
    // The interface's name tells the port of a many-port adapter apart; the product's name
    // serves when the interface has none.
    const std::string& name = adapter.interfaceName.empty() ? adapter.product : adapter.interfaceName;
    if (!name.empty()) text += " (" + name + ")";
    return text;
}

std::string describeSerialDevice(const std::string& devicePath, const SerialRoots& roots) {
    return describeSerialAdapter(inspectSerialDevice(devicePath, roots));
}

}  // namespace fenta21
