#pragma once

namespace fenta21 {

class PanelContext;

// The date and time dialog's PC-clock button: waits for the PC's second to change, so that
// the logger's clock starts at the top of the second, and sets the logger's clock to that
// moment with "time=%02d%02d%02d%02d%02d%02d" (with error report). The result of the exchange.
int setLoggerClockFromPc(PanelContext& session);

}  // namespace fenta21
