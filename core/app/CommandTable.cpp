#include "core/app/CommandTable.h"

namespace fenta21 {

bool enabledIn(EnabledWhen rule, LineState lineState) {
    switch (rule) {
        case EnabledWhen::LineIdle: return lineState == LineState::Idle;
        case EnabledWhen::LineLinked: return lineState == LineState::Linked;
        case EnabledWhen::Always: return true;
    }
    return true;
}

}  // namespace fenta21
