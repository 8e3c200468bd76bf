#pragma once

#include "core/collect/CollectionContext.h"
#include "core/panel/PanelState.h"

namespace fenta21 {

// The part of a program that runs the remote operation panel: its item, keys, display lines
// and value texts, over the line and the collections the panel can start.
class PanelContext : public CollectionContext {
public:
    using CollectionContext::CollectionContext;

    PanelState panel;
};

}  // namespace fenta21
