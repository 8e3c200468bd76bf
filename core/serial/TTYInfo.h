#pragma once

#include "core/base/Clock.h"
#include "core/base/Results.h"
#include "core/serial/CaptureQueue.h"
#include "core/serial/PortDevice.h"
#include "core/serial/PortOpenFailure.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace fenta21 {

// Line speeds by index, as every stored speed refers to them.
inline constexpr std::array<std::uint32_t, 10> kSpeedTable = {300,   600,   1200,  2400,  4800,
                                                             9600,  19200, 38400, 57600, 115200};

// What the channel needs from the rest of the program.
struct ChannelEnvironment {
    const Clock* clock = nullptr;
    // Where "COM CreateFile ERROR(%d)" and its kind go (the error log).
    std::function<void(const std::string&)> logError;
    // The file that maps COM1-COM9 to devices; read at every open so that an edit applies.
    std::string portMapFile;
    // Told the speed in bit/s when a port opens (the line words keep it).
    std::function<void(std::int32_t bitsPerSecond)> speedOpened;
    PortOpener openPort = &openTermiosPort;
    // Told which device could not be opened and why, besides the error log's fixed line.
    std::function<void(const PortOpenFailure&)> openFailed;
};

// The one serial channel record. Ports are opened and closed many times against it.
// The caller sets the port number (or a device path) and the baud rate before opening.
struct TTYInfo {
    explicit TTYInfo(ChannelEnvironment environment) : env(std::move(environment)) {}

    ChannelEnvironment env;

    std::atomic<std::uint8_t> portNumber{1};
    // When not empty, opened instead of the COM port map's device for portNumber.
    std::string deviceOverride;
    std::atomic<std::uint32_t> baudRate{9600};
    std::uint8_t byteSize = 8;
    std::uint8_t flowControl = 2;
    std::uint8_t parity = 0;
    std::uint8_t stopBits = 0;
    std::atomic<bool> displayErrors{true};
    std::atomic<bool> connected{false};

    // True while a search tries every COM number in turn (told with a failed open).
    std::atomic<bool> searchingPorts{false};

    // The shared cancel flag: 27 means the user cancelled whatever waits on the line.
    std::atomic<int> cancelFlag{0};

    CaptureQueue capture;

    // The open device. Reads and writes take a reference under the lock and do their I/O
    // without it, so the keyboard mode can write while its receiver waits in a read; a close
    // on another thread then ends that read instead of freeing the device beneath it.
    std::shared_ptr<PortDevice> device;
    mutable std::mutex deviceMutex;
};

}  // namespace fenta21
