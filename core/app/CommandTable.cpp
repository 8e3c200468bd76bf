#include "core/app/CommandTable.h"

#include <array>

namespace fenta21 {
namespace {

using namespace CommandId;

const std::vector<int> kCommandIds = {
    kMonitor,          kDataFileDisplay,    kOptionPrograms,     kSaveDestination,     kCsvConversion,
    kAddressBook,      kWebSite,            kDataFileViewer,     kCfCard,              kCollectNewOverLink,
    kCollectAllOverLink, kCollectTextOverLink, kArbitraryCollection, kReservation,     kModemSettings,
    kAutoLink,         kManualLink,         kKeyboardMode,       kDisconnect,          kDirectCollection,
    kRemoteLink,       kDirectCollectionAll, kPanelPageUp,       kPanelPageDown,       kPanelEnter,
    kPanelCollectKey,  kAbout,              kExit,               kHelp,
};

// F1 ... F8; F9 has no command.
constexpr std::array kFunctionKeyCommands = {
    kDirectCollection, kDataFileDisplay, kAutoLink,      kDisconnect,
    kAddressBook,      kReservation,     kCsvConversion, kDirectCollectionAll,
};

}  // namespace

const std::vector<int>& allCommandIds() { return kCommandIds; }

bool commandEnabled(int commandId, LineState lineState) {
    switch (commandId) {
        case kDirectCollection:
        case kAutoLink:
        case kManualLink:
        case kRemoteLink: return lineState == LineState::Idle;
        case kDisconnect: return lineState == LineState::Linked;
        default: return true;
    }
}

std::optional<int> functionKeyCommand(int virtualKey) {
    int index = virtualKey - kKeyF1;
    if (index < 0 || index >= static_cast<int>(kFunctionKeyCommands.size())) return std::nullopt;
    return kFunctionKeyCommands[static_cast<std::size_t>(index)];
}

}  // namespace fenta21
