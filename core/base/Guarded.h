#pragma once

#include <mutex>
#include <utility>

namespace fenta21 {

// A value larger than a word that one thread writes and another reads: every access copies
// under a lock, so no reader ever sees half an update.
template <typename T>
class Guarded {
public:
    Guarded() = default;
    explicit Guarded(T value) : value_(std::move(value)) {}

    T get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(T value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    template <typename F>
    auto update(F&& change) {
        std::lock_guard lock(mutex_);
        return change(value_);
    }

private:
    mutable std::mutex mutex_;
    T value_{};
};

}  // namespace fenta21
