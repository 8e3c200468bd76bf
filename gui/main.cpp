// fenta21: the desktop program.
#include "core/base/Folders.h"
#include "core/app/ProgramVersion.h"
#include "core/base/Clock.h"
#include "gui/app/DesktopProgram.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Whether Qt could open a window system at all: without one, QApplication would end the
// program before a usage error could be told.
bool windowSystemNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

int usageError(const std::string& error) {
    std::fprintf(stderr, "fenta21: %s\n\n%s", error.c_str(), fenta21::gui::kDesktopUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fenta21;
    // The command line is read before any window system is needed, so that --help, --version
    // and a usage error are answered without a display.
    QStringList words;
    for (int i = 0; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    gui::DesktopArguments arguments = gui::parseDesktopArguments(words, currentFolder());
    if (arguments.help) {
        std::fputs(gui::kDesktopUsage, stdout);
        return 0;
    }
    if (arguments.version) {
        std::printf("fenta21 %s\n", programVersion());
        return 0;
    }
    if (!arguments.error.empty() && !windowSystemNamed()) return usageError(arguments.error);
    std::unique_ptr<Clock> clock = clockFromEnvironment();
    if (!clock) {
        std::fprintf(stderr, "fenta21: FENTA21_TIME_SCALE must be a positive number and FENTA21_START_TIME "
                             "a time written YYYY-MM-DDTHH:MM:SS\n");
        return 2;
    }
    QApplication application(argc, argv);
    // Read again without the options Qt has taken as its own (-style, -platform ...).
    arguments = gui::parseDesktopArguments(QApplication::arguments(), currentFolder());
    if (!arguments.error.empty()) return usageError(arguments.error);
    gui::DesktopProgram program(arguments.homeFolder, std::move(clock));
    program.frame->show();
    if (arguments.command != 0) program.runWhenShown(arguments.command);
    return application.exec();
}
