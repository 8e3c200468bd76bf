#pragma once

class QWidget;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// The main window's data file viewer command: a data file chosen in the data folder (the
// dialog comes back until a ".v38" file is chosen or the user cancels), then the viewer over
// it. While a panel session runs, its polling stays off the line from before the file dialog
// until the viewer has closed.
void dataFileViewerCommand(Session& session, QWidget* parent);

}  // namespace fenta21::gui
