#pragma once

#include "core/panel/PanelDialogs.h"

namespace fenta21::gui {

class QtHost;

// The panel's settings dialogs as windows. The key worker asks from its own thread; each
// request is handed to the window thread through the host and waits there, and once the
// program is closing it is answered Cancel without a window.
class PanelDialogWindows : public PanelDialogs {
public:
    explicit PanelDialogWindows(QtHost& host) : host_(host) {}

    DialogEnd choose(ListDialog& dialog) override;
    DialogEnd edit(EditDialog& dialog) override;

private:
    QtHost& host_;
};

}  // namespace fenta21::gui
