#pragma once

#include "core/serial/SerialAdapters.h"

#include <string>

namespace fenta21 {

// What a port chooser shows for a device: its stable name under /dev/serial/by-id when one
// leads to it (the adapter's maker and serial number, which stay the same across plug-ins),
// else the path as given, followed by what the system says the adapter is, in brackets, when
// it says anything ("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0 (FT232R USB
// UART)"). An empty path gives an empty text.
std::string describeSerialDevice(const std::string& devicePath, const SerialRoots& roots = {});
std::string describeSerialAdapter(const SerialAdapter& adapter);

}  // namespace fenta21
