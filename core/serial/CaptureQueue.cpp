#include "core/serial/CaptureQueue.h"

namespace fenta21 {

void CaptureQueue::capture(const std::uint8_t* bytes, std::size_t count, CaptureDirection direction) {
    if (direction == CaptureDirection::Received) receivedActivity_.store(true);
    if (direction == CaptureDirection::Sent) sentActivity_.store(true);
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < count; ++i) pushLocked({direction, bytes[i]});
}

void CaptureQueue::addGap() {
    std::lock_guard lock(mutex_);
    pushLocked({CaptureDirection::Gap, 0});
}

void CaptureQueue::reset() {
    std::lock_guard lock(mutex_);
    head_ = 0;
    count_ = 0;
}

void CaptureQueue::pushLocked(CaptureEntry entry) {
    if (count_ == kCapacity) {
        head_ = (head_ + 1) % kCapacity;
        --count_;
        dropped_.fetch_add(1);
    }
    ring_[(head_ + count_) % kCapacity] = entry;
    ++count_;
}

std::vector<CaptureEntry> CaptureQueue::drain(std::size_t maxEntries) {
    std::lock_guard lock(mutex_);
    std::size_t n = count_ < maxEntries ? count_ : maxEntries;
    std::vector<CaptureEntry> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out.push_back(ring_[(head_ + i) % kCapacity]);
    head_ = (head_ + n) % kCapacity;
    count_ -= n;
    return out;
}

std::size_t CaptureQueue::size() const {
    std::lock_guard lock(mutex_);
    return count_;
}

}  // namespace fenta21
