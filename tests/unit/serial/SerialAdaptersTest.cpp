// The system's serial adapters, read from a made-up /dev and /sys of the kernel's shape: a USB
// serial converter, a modem-class (ACM) device and two built-in ports, one with a UART and one
// the kernel only reserved.
#include "core/serial/ComPortMap.h"
#include "core/serial/SerialAdapters.h"
#include "tests/support/FakeSerialTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>

namespace fenta21 {

void PrintTo(const SerialAdapter& a, std::ostream* out) {
    *out << "{" << a.devicePath << " | " << a.stableName << " | " << a.vendorId << ":" << a.productId << " | "
         << a.manufacturer << " | " << a.product << " | " << a.serialNumber << " | " << a.interfaceName << " | "
         << a.driver << "}";
}

namespace test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

SerialAdapter adapter(const std::string& path, const std::string& driver = {}) {
    SerialAdapter made;
    made.devicePath = path;
    made.driver = driver;
    return made;
}

class SerialAdapters : public ::testing::Test, protected FakeSerialTree {
protected:
    SerialAdapters() {
        for (const char* node : {"ttyUSB0", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS1", "ttyS2", "tty",
                                 "ttyS", "ttyUSBx", "console"})
            std::ofstream(dev + "/" + node);
        fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
        fs::create_symlink("../../ttyACM0", dev + "/serial/by-id/usb-Arduino_Uno_7543-if00");

        for (const char* driver : {"usb-serial/drivers/ftdi_sio", "usb/drivers/cdc_acm", "platform/drivers/serial8250"})
            fs::create_directories(sys + "/bus/" + driver);

        // An FTDI converter: the tty sits below the USB interface, below the USB device.
        std::string ftdi = sys + "/devices/pci0000:00/usb1/1-1";
        fs::create_directories(ftdi + "/1-1:1.0/ttyUSB0");
        write(ftdi + "/idVendor", "0403\n");
        write(ftdi + "/idProduct", "6001\n");
        write(ftdi + "/manufacturer", "FTDI\n");
        write(ftdi + "/product", "FT232R USB UART\n");
        write(ftdi + "/serial", "A1\n");
        write(ftdi + "/1-1:1.0/interface", "FT232R USB UART Port\n");
        fs::create_directory_symlink(sys + "/bus/usb-serial/drivers/ftdi_sio", ftdi + "/1-1:1.0/ttyUSB0/driver");
        linkTty("ttyUSB0", ftdi + "/1-1:1.0/ttyUSB0");

        // An ACM device: the tty's device is the USB interface itself, behind a hub.
        std::string acm = sys + "/devices/pci0000:00/usb1/1-2/1-2.4";
        fs::create_directories(acm + "/1-2.4:1.0");
        write(acm + "/idVendor", "2341\n");
        write(acm + "/idProduct", "0043\n");
        write(acm + "/manufacturer", "Arduino (www.arduino.cc)\n");
        write(acm + "/serial", "7543\n");
        write(sys + "/devices/pci0000:00/usb1/1-2/idVendor", "1d6b\n");  // the hub: not the adapter
        fs::create_directory_symlink(sys + "/bus/usb/drivers/cdc_acm", acm + "/1-2.4:1.0/driver");
        linkTty("ttyACM0", acm + "/1-2.4:1.0");

        // The built-in ports: ttyS0 has a 16550A (type 4) and the shape of Linux 6.5 on, where
        // the tty hangs below the serial core's port and controller devices; ttyS1 was only
        // reserved (type 0); ttyS2 has no device in sysfs at all.
        for (const char* driver : {"serial-base/drivers/port", "serial-base/drivers/ctrl"})
            fs::create_directories(sys + "/bus/" + driver);
        std::string uart = sys + "/devices/platform/serial8250";
        fs::create_directories(uart + "/serial8250:0/serial8250:0.0");
        fs::create_directory_symlink(sys + "/bus/platform/drivers/serial8250", uart + "/driver");
        for (auto [folder, driver] :
             {std::pair{"/serial8250:0", "ctrl"}, std::pair{"/serial8250:0/serial8250:0.0", "port"}}) {
            fs::create_directory_symlink(sys + "/bus/serial-base", uart + folder + "/subsystem");
            fs::create_directory_symlink(sys + "/bus/serial-base/drivers/" + driver, uart + folder + "/driver");
        }
        linkTty("ttyS0", uart + "/serial8250:0/serial8250:0.0");
        write(sys + "/class/tty/ttyS0/type", "4\n");
        fs::create_directories(uart + "/serial8250.1");
        fs::create_directory_symlink(sys + "/bus/platform/drivers/serial8250", uart + "/serial8250.1/driver");
        linkTty("ttyS1", uart + "/serial8250.1");
        write(sys + "/class/tty/ttyS1/type", "0\n");
        fs::create_directories(sys + "/class/tty/ttyS2");
    }
};

TEST_F(SerialAdapters, ListsUsbAndAcmAdaptersWithWhatTheySayThenTheBuiltInPortsWithAUart) {
    SerialAdapter ftdi = adapter(dev + "/ttyUSB0", "ftdi_sio");
    ftdi.stableName = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    ftdi.vendorId = "0403";
    ftdi.productId = "6001";
    ftdi.manufacturer = "FTDI";
    ftdi.product = "FT232R USB UART";
    ftdi.serialNumber = "A1";
    ftdi.interfaceName = "FT232R USB UART Port";
    SerialAdapter acm = adapter(dev + "/ttyACM0", "cdc_acm");
    acm.stableName = dev + "/serial/by-id/usb-Arduino_Uno_7543-if00";
    acm.vendorId = "2341";
    acm.productId = "0043";
    acm.manufacturer = "Arduino (www.arduino.cc)";
    acm.serialNumber = "7543";
    // A USB node the system says nothing about is still an adapter: it may be opened.
    SerialAdapter bare = adapter(dev + "/ttyUSB2");
    SerialAdapter bare10 = adapter(dev + "/ttyUSB10");
    SerialAdapter uart = adapter(dev + "/ttyS0", "serial8250");
    EXPECT_THAT(discoverSerialAdapters({dev, sys}), ElementsAre(acm, ftdi, bare, bare10, uart));
}

TEST_F(SerialAdapters, ALinkToADeviceFindsItsStableNameAndKeepsTheNameGiven) {
    fs::create_symlink(dev + "/ttyUSB0", home.file("ttyLOGGER"));
    SerialAdapter byLink = inspectSerialDevice(home.file("ttyLOGGER"), {dev, sys});
    EXPECT_EQ(byLink.devicePath, home.file("ttyLOGGER"));
    EXPECT_EQ(byLink.stableName, dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
    EXPECT_EQ(byLink.serialNumber, "A1");
    // Of two stable names for one device, the one the user gave stays.
    fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/a-second-name");
    std::string given = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    EXPECT_EQ(inspectSerialDevice(given, {dev, sys}).stableName, given);
    EXPECT_EQ(inspectSerialDevice(dev + "/ttyUSB0", {dev, sys}).stableName, dev + "/serial/by-id/a-second-name");
}

TEST_F(SerialAdapters, PortsWithoutALineTakeOnlyAdaptersThatAreThere) {
    // A reserved ttyS without a UART never becomes a COM port that only fails to open.
    std::vector<std::string> devices;
    for (const ComPortEntry& entry : ComPortMap::parse("").entries(systemSerialAdapters({dev, sys})))
        devices.push_back(entry.device);
    EXPECT_THAT(devices, ElementsAre(dev + "/ttyACM0", dev + "/ttyUSB0", dev + "/ttyUSB2", dev + "/ttyUSB10",
                                     dev + "/ttyS0", "", "", "", ""));
}

TEST_F(SerialAdapters, NoSysfsAtAllLeavesTheUsbNodesAndNoBuiltInPort) {
    fs::remove_all(sys);
    std::vector<std::string> paths;
    for (const SerialAdapter& adapter : discoverSerialAdapters({dev, sys})) paths.push_back(adapter.devicePath);
    EXPECT_THAT(paths, ElementsAre(dev + "/ttyACM0", dev + "/ttyUSB0", dev + "/ttyUSB2", dev + "/ttyUSB10"));
}

}  // namespace
}  // namespace test
}  // namespace fenta21
