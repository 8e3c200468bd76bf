#pragma once

#include "sim/SimDevice.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace fenta21::test {

// The line between a pseudo-terminal and a simulated device. It follows a collection in the
// bytes the program sends, runs what a test has planned at a chosen moment of it (on the
// line's own thread, before the device hears the byte, so the moment is exact), and can spoil
// the line: cut it, or put bytes on it ahead of the device's next answer.
class LineTap : public sim::SimDevice {
public:
    // Moments of a transfer: the "copy" (or "acopy") line, the start byte 'C', and from 1 on
    // the n-th ACK after it (blocks + 1 is the ACK of the EOT).
    static constexpr int kAtCommand = -1;
    static constexpr int kAtStart = 0;

    explicit LineTap(sim::SimDevice& device) : device_(device) {}

    std::string receive(std::string_view bytes) override;
    void setLineSpeed(std::uint32_t bitsPerSecond) override { device_.setLineSpeed(bitsPerSecond); }
    std::string unprompted() override;

    // Runs `action` at the moment (after those planned before it for the same one), once.
    void at(int moment, std::function<void()> action);
    // Told when a "clear" line arrives, before the device hears it.
    void onClear(std::function<void()> watcher);
    // From now on nothing passes either way, as when a cable is pulled.
    void cut();
    // These bytes reach the program ahead of the device's next answer.
    void inject(std::string bytes);
    // Forgets the plan and mends the line.
    void reset();

    int clearsSeen() const;

private:
    void follow(char byte, std::vector<std::function<void()>>& due);
    void reached(int moment, std::vector<std::function<void()>>& due);

    sim::SimDevice& device_;
    mutable std::mutex mutex_;
    std::multimap<int, std::function<void()>> plan_;
    std::function<void()> clearWatcher_;
    std::string line_;
    bool awaitingStart_ = false;
    bool inTransfer_ = false;
    int acks_ = 0;
    int clears_ = 0;
    bool cut_ = false;
    std::string injected_;
};

}  // namespace fenta21::test
