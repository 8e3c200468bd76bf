#include "gui/app/Launchers.h"

#include "core/app/CommandTable.h"
#include "core/app/Launchers.h"
#include "core/session/Session.h"
#include "core/base/Files.h"
#include "gui/app/AboutBox.h"
#include "gui/app/OptionListDialog.h"
#include "gui/base/Text.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace fenta21::gui {

Launchers::Launchers(Session& session, QWidget* window, std::function<void(int)> runCommand)
    : QObject(window), session_(session), window_(window), runCommand_(std::move(runCommand)) {
    setObjectName("launchers");
    startProgram = [](const QString& program, const QString& workingFolder) {
        return QProcess::startDetached(program, {}, workingFolder);
    };
}

void Launchers::runOption() {
    std::optional<std::size_t> chosen = OptionListDialog::choose(session_.optionPrograms, window_.data());
    if (!chosen) return;
    // The chosen program has always started a second after the list closed. The wait runs on
    // the event loop, so the window keeps drawing and the heartbeat keeps ticking meanwhile.
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(session_.clock.scaled(std::chrono::seconds(1)));
    std::size_t entry = *chosen;
    QTimer::singleShot(wait, this, [this, entry] { launch(entry); });
}

void Launchers::launch(std::size_t entry) {
    if (entry >= session_.optionPrograms.size()) return;
    const OptionProgram& program = session_.optionPrograms[entry];
    if (optionLaunch(program) == OptionLaunch::DataFileViewer) {
        runCommand_(CommandId::kDataFileViewer);
        return;
    }
    // Started in the home folder, where the option program finds its own files.
    QString home = qs(session_.homeFolder());
    (void)startProgram(qs(joinPath(session_.homeFolder(), program.programFile)), home);
}

void Launchers::openWebSite() { (void)QDesktopServices::openUrl(QUrl(QString::fromUtf8(kMakerWebSite))); }

void Launchers::openManual() {
    QFileInfo page(qs(joinPath(session_.homeFolder(), kManualPage)));
    // A missing manual is as silent as a shell that cannot open it; asking the desktop anyway
    // would have it show an error window of its own.
    if (!page.isFile()) return;
    (void)QDesktopServices::openUrl(QUrl::fromLocalFile(page.absoluteFilePath()));
}

void Launchers::showAbout() { AboutBox::run(session_.homeFolder(), window_.data()); }

}  // namespace fenta21::gui
