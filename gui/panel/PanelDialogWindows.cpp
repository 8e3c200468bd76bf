#include "gui/panel/PanelDialogWindows.h"

#include "core/protocol/CommandExchange.h"
#include "gui/base/GuiThread.h"
#include "gui/base/QtHost.h"
#include "gui/panel/SettingsEditDialog.h"
#include "gui/panel/SettingsListDialog.h"

#include <atomic>

namespace fenta21::gui {

DialogEnd PanelDialogWindows::choose(ListDialog& dialog) {
    return onGuiThread(
        host_.inbox(), [&] { return SettingsListDialog::run(dialog, host_.dialogParent()); }, DialogEnd::Cancel);
}

DialogEnd PanelDialogWindows::edit(EditDialog& dialog) {
    // The dialog's own button talks to the logger: that runs on a thread of its own behind
    // the wait window, so the dialog's thread keeps drawing and answering the line's windows.
    auto runAction = [this](const std::function<void()>& action) {
        std::atomic<int> cancelFlag{0};
        host_.runModal({ModalKind::Wait, kWaitCaption, kWaitingForReplyText}, cancelFlag, [&](ModalContext&) {
            action();
            return 0;
        });
    };
    return onGuiThread(
        host_.inbox(), [&] { return SettingsEditDialog::run(dialog, runAction, host_.dialogParent()); },
        DialogEnd::Cancel);
}

}  // namespace fenta21::gui
