// fenta21: the desktop program.
#include "core/app/Folders.h"
#include "core/app/ProgramVersion.h"
#include "core/base/Clock.h"
#include "gui/app/DesktopProgram.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // Answered before any window system is needed, so that it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("fenta21 %s\n", fenta21::programVersion());
            return 0;
        }
    }
    QApplication application(argc, argv);
    using namespace fenta21;
    gui::DesktopArguments arguments = gui::parseDesktopArguments(QApplication::arguments(), currentFolder());
    if (arguments.help) {
        std::fputs(gui::kDesktopUsage, stdout);
        return 0;
    }
    if (!arguments.error.empty()) {
        std::fprintf(stderr, "fenta21: %s\n\n%s", arguments.error.c_str(), gui::kDesktopUsage);
        return 2;
    }
    std::unique_ptr<Clock> clock = clockFromEnvironment();
    if (!clock) {
        std::fprintf(stderr, "fenta21: FENTA21_TIME_SCALE must be a positive number and FENTA21_START_TIME "
                             "a time written YYYY-MM-DDTHH:MM:SS\n");
        return 2;
    }
    gui::DesktopProgram program(arguments.homeFolder, std::move(clock));
    program.frame->show();
    if (arguments.command != 0) program.runWhenShown(arguments.command);
    return application.exec();
}
