#pragma once

#include "core/panel/PanelDialogs.h"
#include "core/panel/PanelItems.h"

namespace fenta21 {

class PanelContext;

// One key as the key worker handles it, inside the line guard so that the refresher stays
// off the line: in the item list the previous and next keys move (refreshing BATT, Data and
// Mode) and enter runs the item's action; in a sub-list they move within it or enter it.
// The collection menu key never gets here.
void handlePanelKey(PanelContext& session, PanelDialogs& dialogs, PanelKey key);

// The enter key on whatever the panel shows now, inside the line guard; enterItem's results.
// The command-line program's "set" comes here as the panel's enter key does.
int pressEnter(PanelContext& session, PanelDialogs& dialogs);

}  // namespace fenta21
