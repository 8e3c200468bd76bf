#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// Where the system tells about its serial devices. The program reads the real ones; tests lay
// a small tree of the same shape in a temporary folder.
struct SerialRoots {
    std::string dev = "/dev";
    std::string sys = "/sys";
};

// One serial adapter as the system knows it. Every text is empty where the system says
// nothing (a built-in UART has no vendor, product or serial number).
struct SerialAdapter {
    std::string devicePath;     // "/dev/ttyUSB0"
    std::string stableName;     // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0"
    std::string vendorId;       // "0403", as the USB device gives it
    std::string productId;      // "6001"
    std::string manufacturer;   // "FTDI"
    std::string product;        // "FT232R USB UART Cable"
    std::string serialNumber;   // "A1"
    std::string interfaceName;  // the USB interface's own name, "FT232R USB UART"
    std::string driver;         // "ftdi_sio", "cdc_acm", "serial8250"

    bool operator==(const SerialAdapter&) const = default;
};

// Every serial adapter the system has: the /dev/ttyUSB* and /dev/ttyACM* nodes, then the
// /dev/ttyS* nodes behind which sysfs shows a real UART (a PC names ports it does not have,
// and opening one of those only fails). Each group is in name order with numbers compared as
// numbers, so that the list, and the COM numbers given from it, stay the same between runs.
std::vector<SerialAdapter> discoverSerialAdapters(const SerialRoots& roots = {});

// What the system says about one device path (a node, a by-id name or any link to a node).
// The path is kept as given; the rest is empty when the system says nothing about it.
SerialAdapter inspectSerialDevice(const std::string& devicePath, const SerialRoots& roots = {});

}  // namespace fenta21
