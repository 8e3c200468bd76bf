#include "core/panel/PanelLayout.h"

namespace fenta21 {

std::optional<PanelKey> panelKeyAt(int x, int y) {
    for (std::size_t key = 0; key < PanelLayout::kKeyAreas.size(); ++key)
        if (PanelLayout::kKeyAreas[key].contains(x, y)) return static_cast<PanelKey>(key);
    return std::nullopt;
}

}  // namespace fenta21
