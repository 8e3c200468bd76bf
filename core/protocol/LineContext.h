#pragma once

#include "core/protocol/LineWords.h"
#include "core/protocol/RetrySettings.h"
#include "core/report/Reporting.h"
#include "core/serial/TTYInfo.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace fenta21 {

// The words the line guard shares with the panel's polling worker.
struct LineGuardWords {
    // 0 the line is free, 1 a worker is exchanging commands, -1 the panel asks for a redraw.
    std::atomic<int> guard{0};
    // Panel ticks since its last completed key action.
    std::atomic<int> panelTicks{0};
};

// The part of a program that talks to a logger: the serial channel, the retry settings of
// cmd.dat, the line words and the line guard, besides reporting. The command exchange, the
// line guard and what runs on them take this part.
class LineContext : public Reporting {
public:
    LineContext(std::string homeFolder, Host& host, const Clock& clock);
    ~LineContext();

    RetrySettings retry;
    LineWords line{events};
    LineGuardWords lineGuard;
    // How the line in use was set up (1 tone, 2 pulse, 3 direct); the hang-up reads it.
    std::atomic<std::int16_t> connectionKind{3};
    // Told which device a port open could not use and why (the error log keeps only the
    // fixed line with the system's error number).
    std::function<void(const PortOpenFailure& failure)> portNotOpened;

    TTYInfo* channel() { return channel_.get(); }
    // Creates the serial channel record (start-up); replaces an existing one.
    void createSerialChannel();
    void destroySerialChannel();

private:
    std::unique_ptr<TTYInfo> channel_;
};

}  // namespace fenta21
