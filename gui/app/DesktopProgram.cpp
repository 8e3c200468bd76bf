#include "gui/app/DesktopProgram.h"

#include "core/app/Folders.h"
#include "core/app/OptionPrograms.h"
#include "core/app/Startup.h"
#include "gui/app/LogProblemBox.h"
#include "gui/base/GuiInbox.h"
#include "gui/remote/RemoteWindows.h"

#include <QStringList>

#include <filesystem>

namespace fenta21::gui {
namespace {

MainMenuKind menuFor(const std::vector<OptionProgram>& optionPrograms) {
    return optionPrograms.empty() ? MainMenuKind::WithoutOptions : MainMenuKind::WithOptions;
}

}  // namespace

DesktopProgram::DesktopProgram(const std::string& homeFolder, std::unique_ptr<Clock> clockToUse)
    : clock(std::move(clockToUse)), session(homeFolder, host, *clock), scheduler(session) {
    session.optionPrograms = scanOptionPrograms(homeFolder);
    MainMenuKind menu = menuFor(session.optionPrograms);
    // Told from whichever thread wrote the log; the box opens on the window's thread.
    session.reports.logNotWritten = [this](const std::string& path, int errorNumber) {
        GuiInbox::instance().post([this, path, errorNumber] { showLogNotWritten(frame.get(), path, errorNumber); });
    };
    startUpView(session);
    frame = std::make_unique<CMainFrame>(session, host, menu);
    startUpFrame(session);
    host.startingFolder = [this] { return resolveDataFolder(session.homeFolder(), session.settings.dataFolder); };
    frame->remoteWindows()->setScheduler(&scheduler);
    if (session.reservationRunning.load()) scheduler.resume();
}

DesktopProgram::~DesktopProgram() {
    // Workers that are still running must not wait for windows that are going away.
    host.closeDown();
    frame.reset();
}

DesktopArguments parseDesktopArguments(const QStringList& arguments, const std::string& workingFolder) {
    DesktopArguments parsed;
    parsed.homeFolder = workingFolder;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
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
        } else {
            parsed.error = "unknown option " + argument.toStdString();
            return parsed;
        }
    }
    return parsed;
}

}  // namespace fenta21::gui
