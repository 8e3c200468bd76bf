#include "core/app/LineClaim.h"

#include "core/app/Session.h"

namespace fenta21 {

bool claimLine(Session& session) {
    LineState idle = LineState::Idle;
    return session.line.lineState.compare_exchange_strong(idle, LineState::Connecting);
}

}  // namespace fenta21
