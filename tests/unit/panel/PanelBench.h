#pragma once

#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/serial/Channel.h"
#include "sim/SimLogger.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fenta21::test {

// A serial device whose far end is the simulated logger, in memory: every write is answered
// at once, and a read of an empty queue times out at once, so a silent logger costs nothing.
// The lines written are kept with the moment they were written.
class LoggerPort : public PortDevice {
public:
    struct Record {
        std::mutex mutex;
        std::deque<std::uint8_t> input;
        std::string partial;
        std::vector<std::pair<std::chrono::steady_clock::time_point, std::string>> lines;
        bool closed = false;
    };

    LoggerPort(sim::SimLogger& logger, std::shared_ptr<Record> record) : logger_(logger), record_(std::move(record)) {}

    bool configure(const LineSettings&) override { return true; }
    long readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds) override {
        std::lock_guard lock(record_->mutex);
        std::size_t n = 0;
        while (n < maxBytes && !record_->input.empty()) {
            buffer[n++] = record_->input.front();
            record_->input.pop_front();
        }
        return static_cast<long>(n);
    }
    long writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds) override {
        std::string bytes(reinterpret_cast<const char*>(data), count);
        std::string answer = logger_.receive(bytes);
        std::lock_guard lock(record_->mutex);
        for (char c : bytes) {
            if (c == '\n') continue;
            if (c == '\r') {
                record_->lines.emplace_back(std::chrono::steady_clock::now(), record_->partial);
                record_->partial.clear();
            } else {
                record_->partial.push_back(c);
            }
        }
        record_->input.insert(record_->input.end(), answer.begin(), answer.end());
        return static_cast<long>(count);
    }
    int inputCount() override {
        std::lock_guard lock(record_->mutex);
        return static_cast<int>(record_->input.size());
    }
    void purge() override {
        std::lock_guard lock(record_->mutex);
        record_->input.clear();
    }
    void raiseDtr() override {}
    void close() override {
        std::lock_guard lock(record_->mutex);
        record_->closed = true;
    }
    int lastError() const override { return 0; }

private:
    sim::SimLogger& logger_;
    std::shared_ptr<Record> record_;
};

// A linked session on the in-memory logger, in a home folder with the installed model tables.
class PanelBench {
public:
    explicit PanelBench(const std::string& modelCode = "WNDA-01", double scale = 0.01) : clock(scale) {
        installConfiguration(home);
        logger.setIdentity("BENCH-01", modelCode);
        session = std::make_unique<Session>(home.path(), host, clock);
        startUp(*session);
        TTYInfo* channel = session->channel();
        channel->env.openPort = [this](const std::string&, int&) -> std::unique_ptr<PortDevice> {
            return std::make_unique<LoggerPort>(logger, record);
        };
        channel->deviceOverride = "in-memory logger";
        openChannel(channel);
        session->line.setState(LineState::Linked);
    }

    // The lines the program sent, in order.
    std::vector<std::string> sent() const {
        std::lock_guard lock(record->mutex);
        std::vector<std::string> lines;
        for (const auto& [when, line] : record->lines) lines.push_back(line);
        return lines;
    }
    std::vector<std::chrono::steady_clock::time_point> timesSent(const std::string& line) const {
        std::lock_guard lock(record->mutex);
        std::vector<std::chrono::steady_clock::time_point> times;
        for (const auto& [when, text] : record->lines)
            if (text == line) times.push_back(when);
        return times;
    }
    void forgetSent() {
        std::lock_guard lock(record->mutex);
        record->lines.clear();
    }
    bool portClosed() const {
        std::lock_guard lock(record->mutex);
        return record->closed;
    }
    PanelState& panel() { return session->panel; }

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    sim::SimLogger logger;
    std::shared_ptr<LoggerPort::Record> record = std::make_shared<LoggerPort::Record>();
    std::unique_ptr<Session> session;
};

// Waits (in real time, bounded) until `done` holds; false when it never did.
template <typename F>
bool eventually(F&& done, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace fenta21::test
