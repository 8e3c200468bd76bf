#include "core/remote/Disconnect.h"

#include "core/app/LineClaim.h"
#include "core/app/Session.h"
#include "core/serial/Channel.h"

#include <chrono>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

void hangUpModem(Session& session, TTYInfo* channel) {
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

void quietDirectLine(Session& session, TTYInfo* channel) {
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

void hangUp(Session& session) {
    TTYInfo* channel = session.channel();
    if (channel == nullptr || !channel->connected.load()) return;
    session.host.showNotice("  回線切断中...  ");
    if (session.connectionKind.load() == 3) quietDirectLine(session, channel);
    else hangUpModem(session, channel);
    closeChannel(channel);
    session.host.hideNotice();
}

void disconnectLine(Session& session) {
    if (session.line.lineState.load() == LineState::Idle) return;
    setLineState(session, LineState::Disconnecting);
    hangUp(session);
    setLineState(session, LineState::Idle);
}

}  // namespace fenta21
