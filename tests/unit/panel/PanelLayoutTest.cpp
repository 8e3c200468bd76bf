// The panel picture's key areas: which key a click at a point hits.
#include "core/panel/PanelLayout.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

struct KeyHit {
    const char* legend;
    int x, y;
    std::optional<PanelKey> key;
};

const KeyHit kHits[] = {
    {"centre of previous", 397, 24, PanelKey::Previous},
    {"centre of next", 451, 24, PanelKey::Next},
    {"centre of enter", 505, 24, PanelKey::Enter},
    {"centre of collection menu", 446, 94, PanelKey::CollectionMenu},
    {"previous, top left corner", 383, 10, PanelKey::Previous},
    {"previous, bottom right corner", 411, 38, PanelKey::Previous},
    {"right of previous", 412, 24, std::nullopt},
    {"left of previous", 382, 24, std::nullopt},
    {"above next", 451, 9, std::nullopt},
    {"below enter", 505, 39, std::nullopt},
    {"enter, bottom right corner", 519, 38, PanelKey::Enter},
    {"right of enter", 520, 38, std::nullopt},
    {"collection menu, top left corner", 410, 74, PanelKey::CollectionMenu},
    {"collection menu, bottom right corner", 483, 114, PanelKey::CollectionMenu},
    {"below the collection menu", 483, 115, std::nullopt},
    {"on the display", 200, 60, std::nullopt},
    {"between the keys", 424, 50, std::nullopt},
};

TEST(PanelLayout, ClickHitsTheKeyWhoseAreaHoldsIt) {
    for (const KeyHit& hit : kHits) EXPECT_EQ(panelKeyAt(hit.x, hit.y), hit.key) << hit.legend;
}

}  // namespace
}  // namespace fenta21::test
