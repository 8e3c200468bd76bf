#include "core/app/Heartbeat.h"

#include "core/app/Session.h"

namespace fenta21 {

HeartbeatTick heartbeatTick(Session& session) {
    auto& counter = session.line.tickCounter;
    if (counter.load() == 0) session.sampleClock();
    std::int16_t next = counter.load() >= kHeartbeatCycle - 1 ? 0 : static_cast<std::int16_t>(counter.load() + 1);
    counter.store(next);

    HeartbeatTick tick;
    tick.slowStatus = next == 0;
    tick.noticeChanged = session.reports.noticeChanged.exchange(false);
    tick.functionKey = session.line.pendingFunctionKey.load();
    return tick;
}

}  // namespace fenta21
