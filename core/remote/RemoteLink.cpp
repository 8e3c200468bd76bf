#include "core/remote/RemoteLink.h"

#include "core/session/Session.h"
#include "core/protocol/CommandExchange.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/ModemControl.h"
#include "core/remote/TelephoneField.h"

namespace fenta21 {

int linkToStation(Session& session, int station) {
    if (!session.addressBook.hasName(station)) return kLinkFailed;
    session.reports.currentStation.store(station);
    int result = connectStation(session, station);
    if (session.line.state() != LineState::Linked) return result == kLinkUp ? kLinkFailed : result;
    DialTarget target = parseTelephoneField(session.addressBook.station(station).telephone);
    int unit = target.units.empty() ? 0 : target.units.front();
    session.reports.currentUnit.store(unit);
    // The panel shows whether the unit answered; a refused selection is not reported here.
    if (unit != 0) selectUnit(session, unit);
    return kLinkUp;
}

}  // namespace fenta21
