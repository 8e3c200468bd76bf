// What the port lists show for a device: the stable by-id name and the adapter's own words,
// read from a made-up /dev and /sys.
#include "core/serial/PortDescription.h"
#include "tests/support/FakeSerialTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

class PortDescription : public ::testing::Test, protected FakeSerialTree {
protected:
    PortDescription() {
        fs::create_directories(sys + "/class/tty");
        fs::create_directories(sys + "/devices/usb1/1-1/1-1:1.0/ttyUSB0");
        std::ofstream(dev + "/ttyUSB0");
        std::ofstream(dev + "/ttyS0");
    }
};

TEST_F(PortDescription, UsbAdapterShowsItsStableNameAndInterfaceName) {
    std::string byId = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    fs::create_symlink("../../ttyUSB0", byId);
    write(sys + "/devices/usb1/1-1/1-1:1.0/interface", "FT232R USB UART\n");
    write(sys + "/devices/usb1/1-1/product", "FT232R USB UART Cable\n");
    linkTty("ttyUSB0", sys + "/devices/usb1/1-1/1-1:1.0/ttyUSB0");
    EXPECT_EQ(describeSerialDevice(dev + "/ttyUSB0", {dev, sys}), byId + " (FT232R USB UART)");
}

TEST_F(PortDescription, ProductNameServesWhenTheInterfaceHasNone) {
    write(sys + "/devices/usb1/1-1/product", "USB-Serial Controller\n");
    linkTty("ttyUSB0", sys + "/devices/usb1/1-1/1-1:1.0/ttyUSB0");
    EXPECT_EQ(describeSerialDevice(dev + "/ttyUSB0", {dev, sys}), dev + "/ttyUSB0 (USB-Serial Controller)");
}

TEST_F(PortDescription, DeviceTheSystemSaysNothingAboutShowsItsPathAlone) {
    EXPECT_EQ(describeSerialDevice(dev + "/ttyS0", {dev, sys}), dev + "/ttyS0");
    // A path mapped in comports.txt that leads nowhere is still shown as the user wrote it.
    EXPECT_EQ(describeSerialDevice(home.file("absent"), {dev, sys}), home.file("absent"));
    EXPECT_EQ(describeSerialDevice("", {dev, sys}), "");
}

}  // namespace
}  // namespace fenta21::test
