#include "core/session/SettingsStore.h"

#include "core/session/Session.h"
#include "core/session/SystemSettings.h"
#include "core/base/HomeFileEdit.h"
#include "core/base/ThreeWayMerge.h"
#include "core/report/Report.h"

namespace fenta21 {

SystemSettings mergeSettings(const SystemSettings& base, const SystemSettings& mine, const SystemSettings& theirs) {
    using S = SystemSettings;
    return mergeFields(base, mine, theirs, &S::directSpeedIndex, &S::directPortIndex, &S::dataFolder,
                       &S::modemSpeedIndex, &S::modemPortIndex, &S::dialMethod, &S::dataFileName,
                       &S::settingsReserved);
}

bool saveSettingsChange(Session& session, const SystemSettings& changed) {
    const SystemSettings base = session.settings;
    SystemSettings merged;
    auto merge = [&](const FileOnDisk& now) -> std::optional<std::string> {
        // A file that is not there holds no other program's change; fields a short file does
        // not reach are taken as this program last knew them.
        SystemSettings theirs = base;
        if (now) readSettings(*now, theirs);
        merged = mergeSettings(base, changed, theirs);
        return formatSettings(merged);
    };
    return editHomeFile(session.homeFile(kSettingsFileName), kSystemDatSize, merge,
                        [&] { session.settings = merged; })
        .written();
}

SettingsChange storeSettings(Session& session, const SystemSettings& changed) {
    if (saveSettingsChange(session, changed)) return SettingsChange::Stored;
    report(session, kSettingsNotSavedText);
    return SettingsChange::NotSaved;
}

}  // namespace fenta21
