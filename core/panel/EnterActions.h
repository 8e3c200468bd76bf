#pragma once

#include "core/panel/PanelDialogs.h"

namespace fenta21 {

class PanelContext;

// The enter key on an item of the list: read what the dialog starts from, show the item's
// settings dialog, write the entry and show the logger's answer. Items with a sub-list
// (Data, Mode, Monitor, RS8's Zero Set) open it instead. The caller holds the line guard.
//
// Results: 0 done (or nothing to do); 27 the dialog ended otherwise than with OK; else the
// failed exchange's result, the item's value left as it was.
int enterItem(PanelContext& session, PanelDialogs& dialogs, int item);

// The zero dialog of one RS8 channel and its "zero<n>=%d" write, as enterItem's results.
int chooseChannelZero(PanelContext& session, PanelDialogs& dialogs, int channel);

// True when the enter key on this item opens a sub-list for the model.
bool opensSubList(int item, int modelKind);

inline constexpr int kDialogNotOk = 27;

}  // namespace fenta21
