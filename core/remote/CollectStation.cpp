#include "core/remote/CollectStation.h"

#include "core/session/Session.h"
#include "core/collect/CollectResult.h"
#include "core/collect/CollectionSession.h"
#include "core/report/Report.h"
#include "core/protocol/CommandExchange.h"
#include "core/remote/ConnectionResult.h"
#include "core/protocol/Disconnect.h"
#include "core/remote/ModemControl.h"
#include "core/remote/TelephoneField.h"

#include <chrono>
#include <optional>

namespace fenta21 {
namespace {

int collectCopy(Session& session, int station, CollectionOrigin origin) {
    session.line.setCollectCommand(CollectCommand::Copy);
    return collect(session, station, origin);
}

// The results of the units behind one line. A unit with nothing new does not end the run:
// the units behind it may well have records. Any other failure does, and is what the run
// reports; otherwise one collected unit makes the run a success.
class UnitResults {
public:
    void add(int result) {
        any_ = true;
        if (result == kCollectOk) collected_ = true;
        else if (result != kCollectNothingNew) failure_ = result;
    }
    bool any() const { return any_; }
    bool stopped() const { return failure_.has_value(); }
    int outcome() const {
        if (failure_) return *failure_;
        return collected_ ? kCollectOk : kCollectNothingNew;
    }

private:
    bool any_ = false;
    bool collected_ = false;
    std::optional<int> failure_;
};

// Every logger behind the station's line missed its collection: none was reached.
void announceUnreachedUnits(Session& session, int station, CollectionOrigin origin, const CalendarTime& started,
                            int result, const std::string& message) {
    DialTarget target = parseTelephoneField(session.addressBook.station(station).telephone);
    if (target.units.empty()) target.units.push_back(0);
    for (int unit : target.units) announceUnreached(session, station, unit, origin, started, result, message);
}

}  // namespace

int collectStation(Session& session, int station, CollectionOrigin origin) {
    session.reports.currentStation.store(station);
    const CalendarTime started = session.clock.localTime();
    if (session.line.state() != LineState::Idle) {
        // Only the panel's own link to this very station is collected over.
        if (session.line.userLinkUp() && session.addressBook.isDirect(station)) {
            CollectionClaim claim(session.line);
            if (claim.held()) {
                int result = collectCopy(session, station, origin);
                reportResult(session, result);
                return result;
            }
        }
        report(session, kLineBusyMessage);
        announceUnreachedUnits(session, station, origin, started, kLinkFailed, kLineBusyMessage);
        return kLinkFailed;
    }
    int connected = connectStation(session, station);
    if (session.line.state() != LineState::Linked) {
        announceUnreachedUnits(session, station, origin, started, connected, linkErrorMessage(connected));
        return connected;
    }

    DialTarget target = parseTelephoneField(session.addressBook.station(station).telephone);
    int result = kErrorReply;  // every unit refused its selection
    if (target.units.empty()) {
        session.reports.currentUnit.store(0);
        result = collectCopy(session, station, origin);
    } else {
        UnitResults results;
        for (std::size_t i = 0; i < target.units.size() && !results.stopped(); ++i) {
            if (i > 0) session.clock.sleepFor(std::chrono::seconds(1));
            session.reports.currentUnit.store(target.units[i]);
            if (selectUnit(session, target.units[i]) != 0) {  // skipped without a report
                announceUnreached(session, station, target.units[i], origin, session.clock.localTime(), kErrorReply,
                                  collectResultMessage(kErrorReply));
                continue;
            }
            results.add(collectCopy(session, station, origin));
        }
        if (results.any()) result = results.outcome();
    }
    session.reports.currentUnit.store(0);
    disconnectLine(session);
    reportResult(session, result);
    return result;
}

}  // namespace fenta21
