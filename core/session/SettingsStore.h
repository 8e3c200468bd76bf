#pragma once

#include <string>

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
inline constexpr const char* kSettingsFileName = "system.dat";

// The settings another program may have stored since this one read them (`theirs`) with this
// program's change: every field it changed from `base` (the session's settings) is its own,
// every other field the file's.
SystemSettings mergeSettings(const SystemSettings& base, const SystemSettings& mine, const SystemSettings& theirs);

// Writes `changed` into the session's system.dat under the home's lock, merged with what the
// file holds then (mergeSettings), and only then makes the merged settings the session's, so
// that what the program works with is always what the next start reads and no other
// program's change is written over. False, with the file and the session as they were, when
// it could not be written.
bool saveSettingsChange(Session& session, const SystemSettings& changed);

// saveSettingsChange for a window's "OK": a failure is reported, since the user would
// otherwise believe the change kept.
SettingsChange storeSettings(Session& session, const SystemSettings& changed);

}  // namespace fenta21
