#include "core/protocol/LineGuard.h"

#include "core/protocol/LineContext.h"
#include "core/protocol/CommandExchange.h"

#include <chrono>

namespace fenta21 {
namespace {

constexpr int kGuardPolls = 500;
constexpr auto kGuardPollInterval = std::chrono::milliseconds(20);
constexpr int kGuardReplyMax = 20;

}  // namespace

void acquireLineGuard(LineContext& session) {
    auto& guard = session.lineGuard.guard;
    for (int poll = 0; poll < kGuardPolls; ++poll) {
        int expected = 0;
        if (guard.compare_exchange_strong(expected, 1)) break;
        expected = -1;
        if (guard.compare_exchange_strong(expected, 1)) break;
        session.clock.sleepFor(kGuardPollInterval);
    }
    // After ten seconds the transfer goes ahead whether or not the panel let go.
    guard.store(1);
    std::string reply;
    sendCommandReport(session, "comtm=0", reply, kGuardReplyMax);
}

void releaseLineGuard(LineContext& session) {
    std::string reply;
    sendCommandReport(session, "comtm=1", reply, kGuardReplyMax);
    session.lineGuard.panelTicks.fetch_and(1);
    session.lineGuard.guard.store(0);
}

PanelPollingPause::PanelPollingPause(LineContext& session)
    : session_(session), held_(session.line.panelLinkActive() == 1) {
    if (held_) acquireLineGuard(session_);
}

PanelPollingPause::~PanelPollingPause() {
    if (held_) releaseLineGuard(session_);
}

}  // namespace fenta21
