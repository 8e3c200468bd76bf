#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace fenta21 {

// The line settings a port is opened with. Only the speed changes in practice; the rest is
// kept because the channel record carries it and a logger that needs other framing could.
struct LineSettings {
    std::uint32_t baudRate = 9600;
    std::uint8_t byteSize = 8;
    std::uint8_t flowControl = 2;  // bit set: 1 DTR/DSR, 2 RTS/CTS, 4 XON/XOFF
    std::uint8_t parity = 0;       // 0 none
    std::uint8_t stopBits = 0;     // 0 one stop bit
};

// One open serial device. The channel reaches the operating system only through this, so a
// unit test can hand it a scripted fake and the integration tests a real pseudo-terminal.
// Failures return false or -1 and leave the system error number in `lastError()`.
class PortDevice {
public:
    virtual ~PortDevice() = default;

    virtual bool configure(const LineSettings& settings) = 0;
    // Reads what is there, up to maxBytes, waiting at most `timeout` for the first byte.
    // Returns the count (0 on time-out) or -1 on a device error.
    virtual long readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds timeout) = 0;
    // Writes some of the bytes, waiting at most `timeout` for room. Count, 0 or -1.
    virtual long writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds timeout) = 0;
    // Bytes waiting in the driver's input queue.
    virtual int inputCount() = 0;
    // Discards what is queued in both directions.
    virtual void purge() = 0;
    virtual void raiseDtr() = 0;
    // Lowers DTR and RTS and closes the device.
    virtual void close() = 0;
    virtual int lastError() const = 0;
};

// Opens a device path; on failure returns nullptr and sets errorNumber.
using PortOpener = std::function<std::unique_ptr<PortDevice>(const std::string& path, int& errorNumber)>;

std::unique_ptr<PortDevice> openTermiosPort(const std::string& path, int& errorNumber);

}  // namespace fenta21
