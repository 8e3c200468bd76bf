#pragma once

#include <cstdint>
#include <string>

namespace fenta21 {

// Why the channel could not open a port, for a message that names the device and the cause
// besides the fixed "通信ポート使用不可" (which says neither).
struct PortOpenFailure {
    enum class Stage {
        NoDevice,  // the COM number leads to no device (no line, or a refused line, in comports.txt)
        Open,      // the device could not be opened
        Setup,     // it opened but refused the line settings
    };
    Stage stage = Stage::Open;
    int portNumber = 0;      // 1-9, or 0 when a device path was given instead of a COM port
    std::string devicePath;  // empty for NoDevice
    int errorNumber = 0;     // the system's error number (Open, Setup)
    std::uint32_t baudRate = 0;
    // The refused comports.txt line that leaves the number without a device ("line 3: ...").
    std::string mapProblem;
    // The open was one of a search through all the COM numbers, where a number without a
    // device is no fault of the user's.
    bool duringPortSearch = false;
    // Who holds a busy device (EBUSY), when it is a program that says so with its lock.
    int holderProcess = 0;
    std::string holderProgram;
};

// One line in plain words, for example
// "cannot open /dev/ttyUSB0 (COM1): Permission denied — add the user to the dialout group".
std::string portOpenFailureText(const PortOpenFailure& failure);

}  // namespace fenta21
