#include "gui/datafile/DataFileViewerCommand.h"

#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/app/DataFileDisplay.h"
#include "core/protocol/LineGuard.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/datafile/DataFileViewerDialog.h"

#include <memory>

namespace fenta21::gui {

void dataFileViewerCommand(Session& session, QWidget* parent) {
    // Taking and giving back the line guard talks to the logger and waits for its replies,
    // which the window thread must not do itself.
    std::unique_ptr<PanelPollingPause> pause;
    besideTheWindow([&] { pause = std::make_unique<PanelPollingPause>(session); });
    const std::string file =
        chooseViewerFile(session.host, resolveDataFolder(session.homeFolder(), session.settings.dataFolder));
    if (!file.empty()) {
        DataFileViewerDialog viewer(session, parent);
        viewer.showFile(file);
        viewer.exec();
    }
    besideTheWindow([&] { pause.reset(); });
}

}  // namespace fenta21::gui
