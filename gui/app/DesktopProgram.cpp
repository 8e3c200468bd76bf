#include "gui/app/DesktopProgram.h"

#include "core/base/Folders.h"
#include "core/session/OptionPrograms.h"
#include "core/app/Startup.h"
#include "gui/app/LogProblemBox.h"
#include "gui/app/MainCommands.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/QtJapanese.h"
#include "gui/remote/RemoteWindows.h"

#include <QAction>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace fenta21::gui {
namespace {

MainMenuKind menuFor(const std::vector<OptionProgram>& optionPrograms) {
    return optionPrograms.empty() ? MainMenuKind::WithoutOptions : MainMenuKind::WithOptions;
}

}  // namespace

DesktopProgram::DesktopProgram(const std::string& homeFolder, std::unique_ptr<Clock> clockToUse)
    : clock(std::move(clockToUse)), session(homeFolder, host, *clock), storeImporter(session.events, homeFolder), scheduler(session) {
    installQtJapanese();
    session.optionPrograms = scanOptionPrograms(homeFolder);
    MainMenuKind menu = menuFor(session.optionPrograms);
    // Told from whichever thread wrote the log; the box opens on the window's thread.
    session.reports.logNotWritten = [this](const std::string& path, int errorNumber) {
        GuiInbox::instance().post([this, path, errorNumber] { showLogNotWritten(frame.get(), path, errorNumber); });
    };
    startUpView(session);
    frame = std::make_unique<CMainFrame>(session, host, menu);
    startUpFrame(session);
    health.emplace(session.events, session.clock, session.homeFolder(), session.addressBook, session.reservations);
    host.startingFolder = [this] { return resolveDataFolder(session.homeFolder(), session.settings.dataFolder); };
    frame->remoteWindows()->setScheduler(&scheduler);
    // rsvflg.dat says on, but the service (or another desktop program) may run this home's
    // reservations already: then it is said, once the window is up, and this one stays off.
    if (!scheduler.resume()) {
        std::string notice = otherSchedulerNotice(scheduler.otherScheduler().value_or(SchedulerHolder{}));
        QTimer::singleShot(0, frame.get(), [this, notice] { host.report(notice); });
    }
}

DesktopProgram::~DesktopProgram() {
    // Workers that are still running must not wait for windows that are going away.
    host.closeDown();
    frame.reset();
}

void DesktopProgram::runWhenShown(int command) {
    // Queued behind the show: the command's window opens over a painted main window.
    QTimer::singleShot(0, frame.get(), [this, command] {
        frame->updateCommandStates();
        QAction* action = frame->action(command);
        if (action != nullptr && action->isEnabled()) action->trigger();
    });
}

DesktopArguments parseDesktopArguments(const QStringList& arguments, const std::string& workingFolder) {
    DesktopArguments parsed;
    parsed.homeFolder = workingFolder;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else if (argument == "--version") {
            parsed.version = true;
        } else if (argument == "--home") {
            if (i + 1 >= arguments.size()) {
                parsed.error = "--home needs a folder";
                return parsed;
            }
            std::string folder = arguments[++i].toStdString();
            std::error_code ec;
            std::string home = std::filesystem::absolute(folder, ec).lexically_normal().string();
            if (ec || !folderExists(home)) {
                parsed.error = "the home folder " + folder + " does not exist";
                return parsed;
            }
            while (home.size() > 1 && home.back() == '/') home.pop_back();
            parsed.homeFolder = home;
        } else if (argument == "--command") {
            if (i + 1 >= arguments.size()) {
                parsed.error = "--command needs a command id";
                return parsed;
            }
            bool number = false;
            int command = arguments[++i].toInt(&number);
            if (!number || findMainCommand(command) == nullptr) {
                parsed.error = "unknown command id " + arguments[i].toStdString();
                return parsed;
            }
            parsed.command = command;
        } else {
            parsed.error = "unknown option " + argument.toStdString();
            return parsed;
        }
    }
    return parsed;
}

}  // namespace fenta21::gui
