#pragma once

#include "core/session/Session.h"
#include "gui/app/CMainFrame.h"
#include "gui/base/QtHost.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"

#include <QStringList>
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <memory>
#include <string>

namespace fenta21::test {

// The main window over a session in a fresh home folder whose COM1 is a pseudo-terminal with
// the simulated logger at its far end; the data folder beside the home folder exists.
class GuiSimLine {
public:
    explicit GuiSimLine(gui::MainMenuKind menu = gui::MainMenuKind::WithoutOptions, double scale = 0.05);
    ~GuiSimLine();

    std::string dataFolder() const { return home.root() + "/data"; }
    // The names in the data folder, sorted.
    QStringList dataFiles() const;
    // Every COM port leads nowhere, so that a search finds no logger (and tries no real port).
    void unplugLogger();

    TempHome home;
    TestClock clock;
    sim::SimLogger logger;
    std::unique_ptr<sim::PtyServer> server;
    gui::QtHost host;
    std::unique_ptr<Session> session;
    std::unique_ptr<gui::CMainFrame> frame;
};

// The main window shown and active with its view focused, as the user has it.
void showAndFocus(gui::CMainFrame& frame);

}  // namespace fenta21::test
