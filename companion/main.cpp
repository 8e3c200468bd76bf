// fenta21-data: plots of data files and of the record store, beside the communication program.
#include "companion/window/DataWindow.h"
#include "core/app/Folders.h"
#include "core/app/ProgramVersion.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/QtJapanese.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* kUsage =
    "usage: fenta21-data [--home DIR] [FILE...]\n"
    "       fenta21-data --version\n\n"
    "Plots the records of data files (.v38), or of a station of the home folder's record store\n"
    "(\"ﾌｧｲﾙ(&F)\" - \"記録ｽﾄｱを開く(&S)...\"): a trace per series over the logger's own time,\n"
    "series of different units in panes of their own, gaps left open. The mouse wheel zooms, a\n"
    "drag moves in time, a right drag (or Shift and drag) zooms to the range it spans, Home shows\n"
    "all; the crosshair reads the time and every visible trace's value, and the side table gives\n"
    "each series' minimum, maximum, mean and count over the visible range. Files are opened from\n"
    "the menu, given here, or dropped on the window; the visible range is written as PNG, SVG,\n"
    "PDF or CSV from the menu. The model files (type.dat and the kind tables) come from the home\n"
    "folder (default: the current directory), or from the installation when it has none.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace fenta21;
    // The words are read before Qt needs a display, so that --help and --version answer without one.
    std::string home = currentFolder();
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (word == "--version") {
            std::printf("fenta21-data %s\n", programVersion());
            return 0;
        }
    }
    QApplication application(argc, argv);
    QStringList words = QApplication::arguments();
    for (int i = 1; i < words.size(); ++i) {
        if (words[i] == "--home" && i + 1 < words.size()) {
            std::error_code ec;
            home = std::filesystem::absolute(words[++i].toStdString(), ec).lexically_normal().string();
        } else if (words[i].startsWith("--")) {
            std::fprintf(stderr, "fenta21-data: unknown option %s\n\n%s", qPrintable(words[i]), kUsage);
            return 2;
        } else {
            files << words[i];
        }
    }
    gui::installQtJapanese();
    QApplication::setWindowIcon(gui::programIcon());
    plot::DataWindow window(home);
    window.show();
    if (!files.isEmpty()) window.openFiles(files);
    return application.exec();
}
