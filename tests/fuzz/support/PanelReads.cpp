#include "tests/fuzz/support/PanelReads.h"

#include "core/session/Session.h"
#include "core/panel/LiveRefresh.h"
#include "core/panel/PanelItems.h"
#include "core/panel/SettingsReading.h"

namespace fenta21::fuzz {

void runPanelReads(Session& session, std::uint8_t choice) {
    const int channel = choice & 0x07;
    const int item = kFirstItem + (choice >> 3) % (kLastItem - kFirstItem + 1);
    if (readAllSettings(session) != kAccepted) return;
    session.panel.channelIndex.store(channel);
    refreshOnMove(session, item);
    readLoggerTime(session);
    readDataRecord(session, channel);
    readChannelMode(session, channel);
    readChannelZero(session, channel);
    readMonitor(session, choice & 1);
    refreshLiveLines(session, item, true);
    refreshLiveLines(session, item, false);
}

}  // namespace fenta21::fuzz
