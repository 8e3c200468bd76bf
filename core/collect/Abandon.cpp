#include "core/collect/Abandon.h"

#include "core/app/Session.h"
#include "core/collect/Block.h"
#include "core/serial/Channel.h"

#include <chrono>

namespace fenta21 {

void drainLine(Session& session) {
    constexpr int kMaxPauses = 30;
    TTYInfo* channel = session.channel();
    for (int i = 0; i < kMaxPauses; ++i) {
        session.clock.sleepFor(std::chrono::seconds(1));
        if (inputQueueCount(channel) == 0) return;
        purgeInput(channel);
    }
}

void cancelTransfer(Session& session) {
    sendByte(session.channel(), kCAN);
    sendLineCRLF(session.channel(), "");
    drainLine(session);
}

}  // namespace fenta21
