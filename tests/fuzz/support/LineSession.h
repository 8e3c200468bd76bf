#pragma once

#include "core/session/Session.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/FuzzHost.h"
#include "tests/fuzz/support/InstantClock.h"
#include "tests/fuzz/support/ScriptedLine.h"

#include <memory>

namespace fenta21::fuzz {

// A session of the scratch home whose serial channel is open on a scripted line, on the
// instant clock: what a collection or the panel does with the line, input by input.
class LineSession {
public:
    explicit LineSession(std::vector<Reply> replies);

    FuzzHost host;
    InstantClock clock;
    Session session{fuzzHome(), host, clock};
    std::shared_ptr<LineState> line = std::make_shared<LineState>();
};

}  // namespace fenta21::fuzz
