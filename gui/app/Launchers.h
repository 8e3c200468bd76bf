#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// What the main window hands to other programs: the option programs, the maker's web site and
// the manual, and the about box. None of them waits for the program it starts, and a program
// that does not start is not reported.
class Launchers : public QObject {
    Q_OBJECT
public:
    // `runCommand` runs a command of the main window (the option "binary.exe" stands for the
    // data file viewer command).
    Launchers(Session& session, QWidget* window, std::function<void(int command)> runCommand);

    // The option list; a chosen entry runs one (nominal) second later.
    void runOption();
    void openWebSite();
    void openManual();
    void showAbout();

    // Starts a program without waiting for it; by default detached from this program, so
    // that it outlives it. Tests put a recorder here.
    std::function<bool(const QString& program, const QString& workingFolder)> startProgram;

private:
    void launch(std::size_t entry);

    Session& session_;
    QPointer<QWidget> window_;
    std::function<void(int)> runCommand_;
};

}  // namespace fenta21::gui
