#pragma once

#include <functional>

namespace fenta21 {

// Before a port is closed, the last command (the "ATZ" of a hang-up) must reach the line, so
// the close waits for the output queue to empty, for a bounded time: a line held by flow
// control (CTS low on an adapter with nothing on it) never empties. What is still queued then
// cannot leave and is discarded, or the system's own close would wait its closing time (30 s)
// for it, at every port a search tries. A queue that empties is never discarded: that would
// throw away bytes on their way (a pseudo-terminal reports an empty queue at once).
// Returns true when the queue emptied by itself.
inline bool drainOrDiscardOutput(const std::function<int()>& queuedBytes, const std::function<void()>& discard,
                                 const std::function<void()>& pause, int maxPauses = 200) {
    for (int i = 0; i < maxPauses; ++i) {
        if (queuedBytes() <= 0) return true;
        pause();
    }
    if (queuedBytes() <= 0) return true;
    discard();
    return false;
}

}  // namespace fenta21
