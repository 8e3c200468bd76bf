#pragma once

namespace fenta21 {

class Session;
struct SystemSettings;

// How a change of system.dat ended.
enum class SettingsChange {
    Stored,    // system.dat and the session hold the new settings
    Refused,   // a value the dialog would not take: reported where there is a message, nothing written
    NotSaved,  // system.dat could not be written: reported; the file and the session keep the old settings
};

inline constexpr const char* kSettingsNotSavedText = "設定を保存できません!! ";

// Writes `changed` as the session's system.dat (aside, then renamed over it) and only then
// makes it the session's settings, so that what the program works with is always what the
// next start reads. A failure is reported: the user would otherwise believe the change kept.
SettingsChange storeSettings(Session& session, const SystemSettings& changed);

}  // namespace fenta21
