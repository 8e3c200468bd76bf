#include "core/app/SaveDestination.h"

#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/report/Report.h"

namespace fenta21 {

SaveDestination currentSaveDestination(const Session& session) {
    return SaveDestination{session.settings.dataFileName, session.settings.dataFolder};
}

std::string fitSaveDestinationText(const std::string& text) {
    // Counted character by character, so that the characters kept are never changed by a
    // round trip through the code page.
    std::size_t bytes = 0;
    std::size_t kept = 0;
    while (kept < text.size()) {
        std::size_t length = 1;
        while (kept + length < text.size() && (static_cast<unsigned char>(text[kept + length]) & 0xC0) == 0x80) ++length;
        bytes += utf8ToCp932(std::string_view(text).substr(kept, length)).size();
        if (bytes > kSaveDestinationTextBytes) break;
        kept += length;
    }
    return text.substr(0, kept);
}

SettingsChange confirmSaveDestination(Session& session, SaveDestination& destination) {
    if (!hasCp932Form(destination.folder) || !hasCp932Form(destination.fileName)) {
        report(session, kNoCp932FormText);
        return SettingsChange::Refused;
    }
    if (!folderExists(resolveDataFolder(session.homeFolder(), destination.folder))) {
        report(session, kMissingFolderMessage);
        destination.folder = kDataFolderResetText;
        return SettingsChange::Refused;
    }
    SystemSettings changed = session.settings;
    changed.dataFileName = destination.fileName;
    changed.dataFolder = destination.folder;
    return storeSettings(session, changed);
}

}  // namespace fenta21
