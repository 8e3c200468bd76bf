#pragma once

namespace fenta21 {

class Session;

// Waits until the logger has stopped talking, reading away what it sends: a 1 s pause, then
// whatever is waiting, until a pause passes with nothing. Bounded, so that a line that never
// falls silent cannot hold a receiver forever.
void drainLine(Session& session);

// Ends a transfer from the receiving side: CAN, an empty line, then the drain above.
void cancelTransfer(Session& session);

}  // namespace fenta21
