#pragma once

#include "sim/SimDevice.h"

#include <mutex>
#include <string>
#include <vector>

namespace fenta21::sim {

// A device that is not a logger and never stops talking, as a GPS receiver on a serial port
// does: a position line about every 20 ms, whatever it is sent. It answers nothing.
class ChattyDevice : public SimDevice {
public:
    std::string receive(std::string_view bytes) override {
        std::lock_guard lock(mutex_);
        received_.append(bytes);
        return {};
    }
    std::string unprompted() override { return "$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M*55\r\n"; }

    // Everything the program sent, as one text.
    std::string received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

private:
    mutable std::mutex mutex_;
    std::string received_;
};

}  // namespace fenta21::sim
