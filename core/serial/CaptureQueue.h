#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace fenta21 {

enum class CaptureDirection : std::uint8_t { Received = 0, Sent = 1, Gap = 2 };

struct CaptureEntry {
    CaptureDirection direction;
    std::uint8_t byte;
};

// Every byte that crosses the serial channel, in order, for the communication monitor.
// It holds at most 32768 entries. When the monitor falls behind, the oldest entries are
// dropped (and counted) rather than overwritten in place or waited for: a serial thread must
// never stall on the monitor, and the newest traffic is the one worth showing.
class CaptureQueue {
public:
    static constexpr std::size_t kCapacity = 32768;

    void capture(const std::uint8_t* bytes, std::size_t count, CaptureDirection direction);
    // The monitor's own marker between bursts of traffic; not counted as activity.
    void addGap();
    // Called when a port is opened: the queue starts empty.
    void reset();

    // Removes and returns up to maxEntries of the oldest entries.
    std::vector<CaptureEntry> drain(std::size_t maxEntries = kCapacity);
    std::size_t size() const;
    std::size_t droppedEntries() const { return dropped_.load(); }

    // Activity flags for the status lamps: set by traffic, read and cleared by the display.
    bool takeReceivedActivity() { return receivedActivity_.exchange(false); }
    bool takeSentActivity() { return sentActivity_.exchange(false); }

private:
    void pushLocked(CaptureEntry entry);

    mutable std::mutex mutex_;
    std::vector<CaptureEntry> ring_ = std::vector<CaptureEntry>(kCapacity);
    std::size_t head_ = 0;  // index of the oldest entry
    std::size_t count_ = 0;
    std::atomic<std::size_t> dropped_{0};
    std::atomic<bool> receivedActivity_{false};
    std::atomic<bool> sentActivity_{false};
};

}  // namespace fenta21
