#pragma once

#include "sim/SimModem.h"

#include <chrono>

namespace fenta21::sim::test {

// A time the test moves by hand, so that guard and ring times need no sleeping.
class ModemClock {
public:
    explicit ModemClock(SimModem& modem) {
        modem.setTimeSource([this] { return now_; });
    }
    void advance(std::chrono::milliseconds by) { now_ += by; }

private:
    std::chrono::steady_clock::time_point now_{std::chrono::hours(1)};
};

// The modem set up the way the program leaves it before dialling: no echo, no result codes.
inline void initialiseLikeTheProgram(SimModem& modem) {
    for (const char* command : {"ATZ\r", "ATE0\r", "ATX3\r", "ATQ1\r", "AT\\N2\r"}) modem.receive(command);
}

}  // namespace fenta21::sim::test
