#include "core/app/SettingsStore.h"

#include "core/app/Session.h"
#include "core/app/SystemSettings.h"
#include "core/collect/Report.h"

namespace fenta21 {

SettingsChange storeSettings(Session& session, const SystemSettings& changed) {
    if (!saveSettings(session.homeFile("system.dat"), changed)) {
        report(session, kSettingsNotSavedText);
        return SettingsChange::NotSaved;
    }
    session.settings = changed;
    return SettingsChange::Stored;
}

}  // namespace fenta21
