#include "tests/fuzz/support/LineSession.h"

#include "core/serial/Channel.h"

#include <cstdlib>

namespace fenta21::fuzz {

LineSession::LineSession(std::vector<Reply> replies) {
    line->replies = std::move(replies);
    session.createSerialChannel();
    TTYInfo* channel = session.channel();
    line->cancelFlag = &channel->cancelFlag;
    channel->env.openPort = [state = line](const std::string&, int&) { return std::make_unique<ScriptedLine>(state); };
    channel->deviceOverride = "/dev/fuzz";
    if (openChannel(channel) != 1) std::abort();
}

}  // namespace fenta21::fuzz
