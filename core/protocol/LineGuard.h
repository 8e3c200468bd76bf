#pragma once

namespace fenta21 {

class Session;

// Every transfer and every panel setting command runs inside the line guard, which keeps the
// panel's polling off the line. Acquiring waits (at most 10 s) for the panel to finish its
// exchange, then tells the logger "comtm=0"; releasing sends "comtm=1" and frees the line.
void acquireLineGuard(Session& session);
void releaseLineGuard(Session& session);

}  // namespace fenta21
