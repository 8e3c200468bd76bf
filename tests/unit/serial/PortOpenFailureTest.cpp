// The line that says which device could not be opened and why.
#include "core/serial/PortOpenFailure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace fenta21 {
namespace {

using Stage = PortOpenFailure::Stage;

std::string words(int errorNumber) { return std::strerror(errorNumber); }

TEST(PortOpenFailure, NamesTheDeviceThePortAndWhatToDo) {
    const struct {
        PortOpenFailure failure;
        std::string expected;
    } rows[] = {
        {{Stage::Open, 1, "/dev/ttyUSB0", EACCES, 9600, "", false, 0, ""},
         "cannot open /dev/ttyUSB0 (COM1): " + words(EACCES) + " — add the user to the dialout group"},
        {{Stage::Open, 2, "/dev/serial/by-id/usb-FTDI-if00", ENOENT, 9600, "", false, 0, ""},
         "cannot open /dev/serial/by-id/usb-FTDI-if00 (COM2): " + words(ENOENT) + " — the device is not there"},
        {{Stage::Open, 1, "/dev/ttyUSB0", EBUSY, 9600, "", false, 0, ""},
         "cannot open /dev/ttyUSB0 (COM1): " + words(EBUSY) + " — another program has it open"},
        {{Stage::Open, 1, "/dev/ttyUSB0", EBUSY, 9600, "", false, 4242, "fenta21"},
         "cannot open /dev/ttyUSB0 (COM1): " + words(EBUSY) + " — fenta21 (process 4242) has it open"},
        // A cause without a known remedy keeps the system's words alone.
        {{Stage::Open, 3, "/dev/ttyS0", EIO, 9600, "", false, 0, ""}, "cannot open /dev/ttyS0 (COM3): " + words(EIO)},
        // A device given by path has no COM number to name.
        {{Stage::Open, 0, "/tmp/ttyLOGGER", ENOTTY, 9600, "", false, 0, ""},
         "cannot open /tmp/ttyLOGGER: " + words(ENOTTY) + " — it is not a serial device"},
        {{Stage::Setup, 4, "/dev/ttyACM0", EINVAL, 115200, "", false, 0, ""},
         "cannot set /dev/ttyACM0 (COM4) to 115200 bit/s, 8N1, RTS/CTS: " + words(EINVAL)},
        {{Stage::NoDevice, 9, "", 0, 9600, "", false, 0, ""},
         "COM9 has no device: comports.txt has no line for it and no serial adapter is left for it"},
        {{Stage::NoDevice, 2, "", 0, 9600, "line 4: COM2 (no device given)", false, 0, ""},
         "COM2 has no device: comports.txt line 4: COM2 (no device given)"},
    };
    for (const auto& row : rows) EXPECT_EQ(portOpenFailureText(row.failure), row.expected);
}

}  // namespace
}  // namespace fenta21
