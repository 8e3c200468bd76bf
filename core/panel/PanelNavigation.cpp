#include "core/panel/PanelNavigation.h"

#include "core/panel/PanelModelRules.h"

namespace fenta21 {

int stepItem(int current, PanelKey key, int modelKind) {
    using namespace PanelItem;
    if (key != PanelKey::Previous && key != PanelKey::Next) return current;
    const bool forward = key == PanelKey::Next;

    int item = 0;
    if (forward) {
        item = current == kPresetTimer && skipsInterval(modelKind) ? kTime : current + 1;
        if (item > kLastItem) item = kFirstItem;
    } else {
        item = current == kTime && skipsInterval(modelKind) ? kPresetTimer : current - 1;
        if (item < kFirstItem) item = kLastItem;
    }

    // The skips run in this order; each sees the result of the one before.
    if (!hasWaveAndOffset(modelKind)) {
        if (item == kWaveCanceler) item = kMode;
        else if (item == kOffset) item = kMonitor;
    }
    if (!hasZeroSet(modelKind) && item == kZeroSet) item = forward ? kMonitor : kData;
    if (isTideFamily(modelKind)) {
        if (forward) {
            if (item == kBatt) item = kMemo;
            else if (item == kAfterStart) item = kInterval;
        } else {
            if (item == kBatt) item = kLastItem;
            else if (item == kPresetTimer) item = kComSpeed;
        }
    }
    return item;
}

std::vector<int> modelItems(int modelKind) {
    std::vector<int> items;
    int item = stepItem(PanelItem::kBanner, PanelKey::Next, modelKind);
    // The list is a ring: the walk ends where it began, and never runs longer than the list.
    while (items.size() < static_cast<std::size_t>(kPanelItemCount) && (items.empty() || item != items.front())) {
        items.push_back(item);
        item = stepItem(item, PanelKey::Next, modelKind);
    }
    return items;
}

}  // namespace fenta21
