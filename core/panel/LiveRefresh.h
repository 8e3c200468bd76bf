#pragma once

namespace fenta21 {

class PanelContext;

// What the refresher does for the item on show, once per run: the Data and Mode sub-lists
// blink, Zero Set and Monitor read the monitor on even ticks, Time shows the clock. True
// when the item has a live line (the display must be redrawn).
bool refreshLiveLines(PanelContext& session, int item, bool evenTick);

}  // namespace fenta21
