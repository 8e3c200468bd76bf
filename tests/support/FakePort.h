#pragma once

#include "core/serial/PortDevice.h"

#include <cerrno>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace fenta21::test {

// A scripted serial device: what the test queues is what the channel reads, what the channel
// writes is recorded. An empty queue behaves like a silent line (the read times out at once,
// so no test waits for it).
class FakePort : public PortDevice {
public:
    struct Script {
        std::mutex mutex;
        std::deque<std::uint8_t> input;
        std::string written;
        bool failReads = false;
        bool failConfigure = false;
        bool closed = false;
        // A silent line that takes its time: a read of an empty queue waits out its whole
        // time-out, so that each timed-out byte read is exactly one call and can be counted.
        bool silenceWaitsOutTheTimeout = false;
        int reads = 0;
    };

    explicit FakePort(std::shared_ptr<Script> script) : script_(std::move(script)) {}

    bool configure(const LineSettings&) override {
        std::lock_guard lock(script_->mutex);
        if (script_->failConfigure) error_ = EINVAL;
        return !script_->failConfigure;
    }
    long readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds timeout) override {
        std::unique_lock lock(script_->mutex);
        ++script_->reads;
        if (script_->silenceWaitsOutTheTimeout && script_->input.empty()) {
            lock.unlock();
            std::this_thread::sleep_for(timeout);
            return 0;
        }
        if (script_->failReads) {
            error_ = EIO;
            return -1;
        }
        std::size_t n = 0;
        while (n < maxBytes && !script_->input.empty()) {
            buffer[n++] = script_->input.front();
            script_->input.pop_front();
        }
        return static_cast<long>(n);
    }
    long writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds) override {
        std::lock_guard lock(script_->mutex);
        script_->written.append(reinterpret_cast<const char*>(data), count);
        return static_cast<long>(count);
    }
    int inputCount() override {
        std::lock_guard lock(script_->mutex);
        return static_cast<int>(script_->input.size());
    }
    void purge() override {}
    void raiseDtr() override {}
    void close() override {
        std::lock_guard lock(script_->mutex);
        script_->closed = true;
    }
    int lastError() const override { return error_; }

    static void feed(Script& script, const std::string& bytes) {
        std::lock_guard lock(script.mutex);
        script.input.insert(script.input.end(), bytes.begin(), bytes.end());
    }

private:
    std::shared_ptr<Script> script_;
    int error_ = 0;
};

}  // namespace fenta21::test
