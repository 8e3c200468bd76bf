#include "core/app/DirectCollection.h"

#include "core/session/Session.h"
#include "core/report/Report.h"
#include "core/collect/CollectResult.h"
#include "core/collect/CollectionSession.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/DirectLinkSearch.h"
#include "core/protocol/Disconnect.h"

#include <chrono>
#include <cstdio>
#include <optional>

namespace fenta21 {
namespace {

// Sets the claimed line up with the search; on failure reports it and returns the line to idle.
int searchLink(Session& session, LinkRequest link) {
    session.line.setLinkPort(static_cast<std::int16_t>(link.portNumber));
    session.line.setSpeed(link.speedIndex);
    int result = runDirectLinkSearch(session);
    if (result != kLinkUp) {
        reportLinkError(session, result);
        session.line.release();
    }
    return result;
}

}  // namespace

int directCollection(Session& session, CollectCommand command, LinkRequest link) {
    bool ownLink = session.line.claim();
    // The user's own link is collected over; a line that a station collection, the keyboard
    // mode or any other worker holds is not shared, and neither is a collection in progress.
    std::optional<CollectionClaim> claim;
    if (ownLink || session.line.userLinkUp()) claim.emplace(session.line);
    if (!claim || !claim->held()) {
        if (ownLink) session.line.release();
        report(session, kLineBusyMessage);
        return kLinkFailed;
    }
    if (ownLink) {
        int result = searchLink(session, link);
        if (result != kLinkUp) return result;
    }
    session.line.link();
    session.clock.sleepFor(std::chrono::seconds(1));
    session.line.setCollectCommand(command);
    int result = collect(session, -1);
    if (ownLink) disconnectLine(session);
    reportResult(session, result);
    return result;
}

int collectOverLink(Session& session, CollectCommand command) {
    if (session.line.state() == LineState::Idle) {
        reportLinkError(session, kLinkFailed);
        return kLinkFailed;
    }
    std::optional<CollectionClaim> claim;
    if (session.line.userLinkUp()) claim.emplace(session.line);
    if (!claim || !claim->held()) {
        report(session, kLineBusyMessage);
        return kLinkFailed;
    }
    session.line.setCollectCommand(command);
    int result = collect(session, -1);
    reportResult(session, result);
    return result;
}

int linkUp(Session& session, LinkRequest link) {
    if (!session.line.claim()) return kLinkFailed;  // a link exists or is being made: nothing to do
    int result = searchLink(session, link);
    if (result != kLinkUp) return result;
    char notice[64];
    std::snprintf(notice, sizeof notice, "%dbpsで接続しました。  ", session.line.speed());
    session.host.showNotice(notice);
    session.clock.sleepFor(std::chrono::seconds(2));
    session.host.hideNotice();
    session.line.link();
    session.line.setPanelLinkActive(1);
    return kLinkUp;
}

SettingsChange rememberManualLink(Session& session, int portIndex, int speedIndex) {
    if (!isPortIndex(portIndex) || !isSpeedIndex(speedIndex)) return SettingsChange::Refused;
    SystemSettings changed = session.settings;
    changed.directSpeedIndex = speedIndex;
    changed.directPortIndex = portIndex;
    return storeSettings(session, changed);
}

}  // namespace fenta21
