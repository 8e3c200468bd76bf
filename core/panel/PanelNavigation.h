#pragma once

#include "core/panel/PanelItems.h"

#include <vector>

namespace fenta21 {

// The item that the previous or next key moves to from `current` (the banner or an item of
// the list), with the items the model lacks passed over. Any other key stays where it is.
int stepItem(int current, PanelKey key, int modelKind);

// The model's items in the order the next key visits them from the banner.
std::vector<int> modelItems(int modelKind);

}  // namespace fenta21
