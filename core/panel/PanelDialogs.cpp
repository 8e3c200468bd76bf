#include "core/panel/PanelDialogs.h"

namespace fenta21 {

std::optional<std::size_t> chooseEntry(PanelDialogs& dialogs, ListDialog& dialog) {
    if (dialogs.choose(dialog) != DialogEnd::Ok) return std::nullopt;
    if (dialog.chosen < 0 || dialog.chosen >= static_cast<int>(dialog.entries.size())) return std::nullopt;
    return static_cast<std::size_t>(dialog.chosen);
}

int preselectable(int position, const std::vector<std::string>& entries) {
    return position >= 0 && position < static_cast<int>(entries.size()) ? position : -1;
}

}  // namespace fenta21
