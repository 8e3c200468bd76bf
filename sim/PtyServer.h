#pragma once

#include "sim/SimDevice.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

namespace fenta21::sim {

// Serves a simulated device on a pseudo-terminal. The slave side is published as a symlink
// at `linkPath`, so the program under test opens it like any serial device and the real
// serial channel is what gets tested.
class PtyServer {
public:
    PtyServer(std::string linkPath, SimDevice& device);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal, publishes the link and starts serving. False (with a message
    // in error()) when the pseudo-terminal or the link cannot be made.
    bool start();
    void stop();

    // Writes answers no faster than a line of this speed carries them (ten bits a byte);
    // 0, the default, writes them at once. May be changed while serving.
    void setPace(std::uint32_t bitsPerSecond) { pace_.store(bitsPerSecond); }
    // The speed the program last set on its end, as the device was told it (0 before the
    // first receive, or when the speed has no number).
    std::uint32_t lineSpeed() const { return lineSpeed_.load(); }

    const std::string& linkPath() const { return linkPath_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& error() const { return error_; }

private:
    void serve();
    void write(std::string_view bytes);
    std::uint32_t readLineSpeed() const;

    std::string linkPath_;
    SimDevice& device_;
    std::string slavePath_;
    std::string error_;
    int master_ = -1;
    int heldSlave_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<std::uint32_t> pace_{0};
    std::atomic<std::uint32_t> lineSpeed_{0};
    std::thread thread_;
};

}  // namespace fenta21::sim
