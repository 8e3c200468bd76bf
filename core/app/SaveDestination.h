#pragma once

#include "core/session/SettingsStore.h"

#include <cstddef>
#include <string>

namespace fenta21 {

class Session;

// The two texts of the "保存先の設定" dialog: the base name of a direct collection's data
// file and the folder it is stored in, as the user typed them.
struct SaveDestination {
    std::string fileName;
    std::string folder;
};

// Each text fits its 66-byte field of system.dat with the terminating NUL: at most 64 code
// page 932 bytes, counted the way the settings file stores them.
inline constexpr std::size_t kSaveDestinationTextBytes = 64;

inline constexpr const char* kMissingFolderMessage = "設定したフォルダがありません!! ";

// What the dialog shows when it opens: the saved texts.
SaveDestination currentSaveDestination(const Session& session);

// The longest start of a UTF-8 text that fits a field of the dialog; a double-byte character
// is never split.
std::string fitSaveDestinationText(const std::string& text);

// The dialog's "OK". A text with a character that system.dat cannot hold in code page 932 is
// reported and nothing is stored: Refused, the typed texts kept for the user to mend. The folder is resolved as every collection resolves it; when it does not
// exist the refusal is reported, `destination.folder` becomes the reset text "../data/" (for
// the dialog to show) and nothing is stored: Refused. Otherwise both texts are stored exactly
// as typed and system.dat is saved: Stored, or NotSaved (reported, the typed texts kept for
// another try) when the file could not be written.
SettingsChange confirmSaveDestination(Session& session, SaveDestination& destination);

}  // namespace fenta21
