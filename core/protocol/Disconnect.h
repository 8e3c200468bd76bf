#pragma once

namespace fenta21 {

class LineContext;

// Takes the line down: a modem is told to hang up ("+++", "ATH0", "ATZ"); a direct line is
// read quiet. Then the port is closed. Nothing happens when no port is open.
void hangUp(LineContext& session);

// Ends the current connection, if any: lineState goes -1 while it runs, then 0.
void disconnectLine(LineContext& session);

}  // namespace fenta21
