// fenta21-screenshots: pictures of the desktop program's windows, for a person to look at.
#include "core/base/Clock.h"
#include "gui/app/DesktopProgram.h"
#include "tests/gui/screenshots/ScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: fenta21-screenshots HOME OUTPUT-FOLDER\n\n"
                   "Starts the desktop program on HOME (whose comports.txt leads to a simulated logger),\n"
                   "opens its windows one after another and saves a PNG of each into OUTPUT-FOLDER.\n",
                   stderr);
        return 2;
    }
    std::unique_ptr<fenta21::Clock> clock = fenta21::clockFromEnvironment();
    if (!clock) return 2;
    QDir().mkpath(arguments[2]);
    fenta21::gui::DesktopProgram program(arguments[1].toStdString(), std::move(clock));
    program.frame->show();
    fenta21::screenshots::ScreenshotTour tour(program, arguments[2]);
    QTimer::singleShot(0, &tour, &fenta21::screenshots::ScreenshotTour::run);
    return application.exec();
}
