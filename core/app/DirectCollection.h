#pragma once

#include "core/protocol/LineWords.h"
#include "core/session/SettingsStore.h"

namespace fenta21 {

class Session;

// Which port and speed a link tries: -1 searches (the saved port first, then the rest; the
// speeds in search order), a number fixes it.
struct LinkRequest {
    int portNumber = -1;  // 1-9
    int speedIndex = -1;  // 0-9
};

// The direct collection of the window's "接続開始" (F1, "copy") and F8 ("acopy"): links up
// when the line is idle, collects, takes down a link it set up itself, and reports the
// result. Returns the collection result, or the link result when linking failed. It reuses
// only the user's own link; a line that any other operation holds is refused as busy (-1)
// without a byte sent.
int directCollection(Session& session, CollectCommand command, LinkRequest link = {});

// The panel's collection menu ("最新ﾃﾞｰﾀ回収", "全ﾃﾞｰﾀ回収", "ﾃｷｽﾄ形式回収"): one collection
// over the user's link that is up, its result reported; no link is set up or taken down.
// With no link up it reports the link error, and a line that another operation holds (or a
// collection already running on it) is refused as busy; either way nothing is sent (-1).
int collectOverLink(Session& session, CollectCommand command);

// Link-up for the automatic and the manual link: the search, then the notice
// "%dbpsで接続しました。  " and the line linked for the panel. 0, or the reported failure.
int linkUp(Session& session, LinkRequest link);

// The manual link's settings: the chosen port (0-8) and speed index (0-9) become the saved
// direct settings. Anything outside the dialog's lists is refused; a system.dat that cannot
// be written is reported and keeps the old settings.
SettingsChange rememberManualLink(Session& session, int portIndex, int speedIndex);

}  // namespace fenta21
