#pragma once

#include "core/session/Session.h"
#include "core/health/HealthMonitor.h"
#include "core/remote/Scheduler.h"
#include "core/store/StoreImporter.h"
#include "gui/app/CMainFrame.h"
#include "gui/base/QtHost.h"

#include <memory>
#include <optional>
#include <string>

#include <QStringList>

namespace fenta21::gui {

// The program's state from start to exit, built in the order the program has always started
// (Qt's own dialogs set to speak Japanese first): the option programs (kept for the option list) choose the menu; the home folder is
// recorded and cmd.dat, mdm.dat and type.dat are read; the window is built with its bars and
// heartbeat; then the serial channel, system.dat, adr.csv, the reservation list and
// rsvflg.dat follow, and a scheduler that was on is running again before the window first
// shows.
class DesktopProgram {
public:
    DesktopProgram(const std::string& homeFolder, std::unique_ptr<Clock> clock);
    ~DesktopProgram();

    // Runs a command by its id once the window has shown, as its action would (nothing when
    // the command is not enabled then).
    void runWhenShown(int command);

    QtHost host;
    std::unique_ptr<Clock> clock;
    Session session;
    // Before the scheduler and the window, so that it hears every collection they finish.
    store::StoreImporter storeImporter;
    // Started once the lists are read; it outlives the scheduler, so the last collection is heard.
    std::optional<HealthMonitor> health;
    ReservationScheduler scheduler;
    std::unique_ptr<CMainFrame> frame;
};

// What the command line asks for: the home folder (--home DIR, else the working directory)
// and a command to run at start (--command ID).
struct DesktopArguments {
    std::string homeFolder;
    int command = 0;  // 0: none
    bool help = false;
    bool version = false;
    std::string error;  // not empty: the arguments cannot be used
};
DesktopArguments parseDesktopArguments(const QStringList& arguments, const std::string& workingFolder);

inline constexpr const char* kDesktopUsage =
    "usage: fenta21 [--home DIR] [--command ID]\n"
    "       fenta21 --version\n\n"
    "The FENTA21 communication program. Its settings, lists and logs are the files of the home\n"
    "folder (default: the current directory); comports.txt there maps COM1 ... COM9 to devices.\n"
    "--command ID runs the command of that id once the window shows, as its menu item would;\n"
    "32782, the CF card window, has no menu item, toolbar button or key and is opened this way.\n"
    "FENTA21_TIME_SCALE (a positive number, default 1) shortens every wait, for tests;\n"
    "FENTA21_START_TIME (YYYY-MM-DDTHH:MM:SS) starts the calendar there, running at that pace.\n";

}  // namespace fenta21::gui
