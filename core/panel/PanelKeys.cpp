#include "core/panel/PanelKeys.h"

#include "core/panel/PanelContext.h"
#include "core/panel/EnterActions.h"
#include "core/panel/PanelNavigation.h"
#include "core/panel/SettingsReading.h"
#include "core/panel/SubLists.h"
#include "core/protocol/LineGuard.h"

namespace fenta21 {
namespace {

bool inSubList(const PanelState& panel) {
    int state = panel.displayState.load();
    return state == DisplayState::kSubList || state == DisplayState::kSubListBlink;
}

// The line guard for the length of one key action, released on every way out.
class GuardedAction {
public:
    explicit GuardedAction(PanelContext& session) : session_(session) { acquireLineGuard(session_); }
    ~GuardedAction() { releaseLineGuard(session_); }
    GuardedAction(const GuardedAction&) = delete;
    GuardedAction& operator=(const GuardedAction&) = delete;

private:
    PanelContext& session_;
};

}  // namespace

int pressEnter(PanelContext& session, PanelDialogs& dialogs) {
    PanelState& panel = session.panel;
    GuardedAction guard(session);
    if (inSubList(panel)) return enterSubList(session, dialogs);
    return enterItem(session, dialogs, panel.currentItem.load());
}

void handlePanelKey(PanelContext& session, PanelDialogs& dialogs, PanelKey key) {
    PanelState& panel = session.panel;
    const int item = panel.currentItem.load();
    if (item < PanelItem::kBanner) return;  // shutting down: keys mean nothing any more

    if (key == PanelKey::Enter) {
        pressEnter(session, dialogs);
        panel.pressedKey.store(0);  // enter never repeats
        return;
    }
    if (key != PanelKey::Previous && key != PanelKey::Next) return;
    if (inSubList(panel)) {
        GuardedAction guard(session);
        stepSubList(session, key);
        return;
    }
    const int next = stepItem(item, key, panel.model.get().kindNumber);
    panel.currentItem.store(next);
    GuardedAction guard(session);
    panel.channelIndex.store(0);
    refreshOnMove(session, next);
    panel.displayState.store(DisplayState::kRefresh);
}

}  // namespace fenta21
