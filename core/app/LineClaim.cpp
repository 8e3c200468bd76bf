#include "core/app/LineClaim.h"

#include "core/app/Session.h"

namespace fenta21 {

void setLineState(Session& session, LineState state) {
    LineState before = session.line.lineState.exchange(state);
    if (before != state) session.events.publish(LineStateChanged{before, state});
}

bool claimLine(Session& session) {
    LineState idle = LineState::Idle;
    if (!session.line.lineState.compare_exchange_strong(idle, LineState::Connecting)) return false;
    session.events.publish(LineStateChanged{LineState::Idle, LineState::Connecting});
    return true;
}

bool userLinkUp(const Session& session) {
    return session.line.lineState.load() == LineState::Linked && session.line.panelLinkActive.load() == 1;
}

CollectionClaim::CollectionClaim(Session& session)
    : session_(session), held_(!session.line.collecting.exchange(true)) {}

CollectionClaim::~CollectionClaim() {
    if (held_) session_.line.collecting.store(false);
}

}  // namespace fenta21
