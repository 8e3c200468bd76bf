#include "core/protocol/LineWords.h"

#include "core/events/EventHub.h"

namespace fenta21 {

const char* collectCommandText(CollectCommand command) {
    switch (command) {
        case CollectCommand::Copy: return "copy";
        case CollectCommand::AllCopy: return "acopy";
        case CollectCommand::Text: return "text";
    }
    return "copy";
}

bool LineWords::claim() {
    LineState idle = LineState::Idle;
    if (!state_.compare_exchange_strong(idle, LineState::Connecting)) return false;
    events_.publish(LineStateChanged{LineState::Idle, LineState::Connecting});
    return true;
}

void LineWords::setState(LineState state) {
    LineState before = state_.exchange(state);
    if (before != state) events_.publish(LineStateChanged{before, state});
}

}  // namespace fenta21
