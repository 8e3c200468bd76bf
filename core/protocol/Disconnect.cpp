#include "core/protocol/Disconnect.h"

#include "core/protocol/LineContext.h"
#include "core/serial/Channel.h"

#include <chrono>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

void hangUpModem(LineContext& session, TTYInfo* channel) {
    purgeInput(channel);
    session.clock.sleepFor(1200ms);
    sendText(channel, "+");
    session.clock.sleepFor(50ms);
    sendText(channel, "+");
    session.clock.sleepFor(50ms);
    sendText(channel, "+");
    session.clock.sleepFor(1200ms);
    sendLineCR(channel, "ATH0");
    session.clock.sleepFor(200ms);
    sendLineCR(channel, "ATZ");
}

void quietDirectLine(LineContext& session, TTYInfo* channel) {
    // Bounded: a logger that never stops sending must not keep the line forever.
    constexpr int kMaxRounds = 30;
    int rounds = 0;
    do {
        purgeInput(channel);
        session.clock.sleepFor(1000ms);
        purgeInput(channel);
    } while (inputQueueCount(channel) != 0 && ++rounds < kMaxRounds);
}

}  // namespace

void hangUp(LineContext& session) {
    TTYInfo* channel = session.channel();
    if (channel == nullptr || !channel->connected.load()) return;
    session.host.showNotice("  回線切断中...  ");
    if (session.connectionKind.load() == 3) quietDirectLine(session, channel);
    else hangUpModem(session, channel);
    closeChannel(channel);
    session.host.hideNotice();
}

void disconnectLine(LineContext& session) {
    if (session.line.state() == LineState::Idle) return;
    session.line.disconnect();
    hangUp(session);
    session.line.release();
}

}  // namespace fenta21
