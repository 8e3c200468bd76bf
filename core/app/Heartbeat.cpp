#include "core/app/Heartbeat.h"

#include "core/session/Session.h"

namespace fenta21 {

HeartbeatTick heartbeatTick(Session& session) {
    int counter = session.line.tickCounter();
    if (counter == 0) session.sampleClock();
    int next = counter >= kHeartbeatCycle - 1 ? 0 : counter + 1;
    session.line.setTickCounter(next);

    HeartbeatTick tick;
    tick.slowStatus = next == 0;
    tick.noticeChanged = session.reports.noticeChanged.exchange(false);
    tick.functionKey = session.line.pendingFunctionKey();
    return tick;
}

}  // namespace fenta21
