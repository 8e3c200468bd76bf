#pragma once

#include "core/panel/PanelDialogs.h"
#include "core/panel/PanelItems.h"

namespace fenta21 {

class PanelContext;

// The sub-lists the enter key opens: the data history, the channels of Mode, Monitor and
// RS8's Zero Set. The previous key adds one to the position, the next key takes one off;
// the caller holds the line guard.

// Moves the position by one and reads what the new position shows.
int stepSubList(PanelContext& session, PanelKey key);

// Goes to a position (a channel, or a history index 0, -1, -2 ...) and reads what it shows:
// "data<n>", "mode<n>" or "zero<n>". Channels wrap within the model's channel count; the
// history has no position after the newest record.
int selectSubListPosition(PanelContext& session, int position);

// The enter key inside a sub-list: Data and Monitor close it; Mode and Zero Set open the
// channel's dialog and close it after. Results as enterItem's.
int enterSubList(PanelContext& session, PanelDialogs& dialogs);

// A channel position kept within 0 ... count - 1: below 0 is the last, at count the first.
int wrapChannel(int position, int channelCount);

}  // namespace fenta21
