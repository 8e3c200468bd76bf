#pragma once

namespace fenta21 {

class Session;

// What one tick of the window's 100 ms heartbeat leaves to the window, once the core has
// done its first two steps (the clock sample at the start of a cycle, the 11-tick counter).
// The window then runs, in this order: the monitor update (when the monitor is shown), the
// status display (its slower half only when `slowStatus`), the reserved-collection notice
// (when `noticeChanged`), and the function key's command (when `functionKey` is not 0).
struct HeartbeatTick {
    bool slowStatus = false;
    bool noticeChanged = false;
    int functionKey = 0;
};

inline constexpr int kHeartbeatMilliseconds = 100;
// The counter runs 0 ... 10, so the clock sample and the slow status run every 11th tick.
inline constexpr int kHeartbeatCycle = 11;

HeartbeatTick heartbeatTick(Session& session);

}  // namespace fenta21
