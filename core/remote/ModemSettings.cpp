#include "core/remote/ModemSettings.h"

#include "core/session/Session.h"
#include "core/session/SystemSettings.h"

namespace fenta21 {

ModemSettings currentModemSettings(const Session& session) {
    return ModemSettings{session.settings.modemSpeedIndex, session.settings.modemPortIndex,
                         session.settings.dialMethod};
}

SettingsChange storeModemSettings(Session& session, const ModemSettings& chosen) {
    if (!isSpeedIndex(chosen.speedIndex) || !isPortIndex(chosen.portIndex) || !isDialMethod(chosen.dialMethod))
        return SettingsChange::Refused;
    SystemSettings changed = session.settings;
    changed.modemSpeedIndex = chosen.speedIndex;
    changed.modemPortIndex = chosen.portIndex;
    changed.dialMethod = chosen.dialMethod;
    return storeSettings(session, changed);
}

}  // namespace fenta21
