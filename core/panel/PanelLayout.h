#pragma once

#include "core/panel/PanelItems.h"

#include <array>
#include <optional>

namespace fenta21 {

// Where the panel's picture puts its parts, in the view's own coordinates (device-independent
// pixels). The key areas are what a click hits; the rest is where the picture is drawn.
struct PanelRect {
    int left, top, right, bottom;  // inclusive
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

struct PanelPoint {
    int x, y;
};

namespace PanelLayout {
// Previous, next, enter and the collection menu key, in key order.
inline constexpr std::array<PanelRect, 4> kKeyAreas{{
    {383, 10, 411, 38},
    {437, 10, 465, 38},
    {491, 10, 519, 38},
    {410, 74, 483, 114},
}};
// The two-line display while a session runs, and where its lines start.
inline constexpr PanelRect kDisplay{16, 17, 360, 102};
inline constexpr PanelPoint kLine1{34, 26};
inline constexpr PanelPoint kLine2{34, 62};
// The picture of a held key (keys 0-2) and the collection menu's corner.
inline constexpr std::array<int, 3> kPressedKeyX{380, 434, 488};
inline constexpr int kPressedKeyY = 7;
inline constexpr PanelPoint kCollectionMenuCorner{410, 74};
}  // namespace PanelLayout

// The key under a point: the first area that holds it, in key order.
std::optional<PanelKey> panelKeyAt(int x, int y);

}  // namespace fenta21
