// fenta21-plot: draws the pictures of "fenta21-cli plot" without a display. fenta21-cli runs it,
// so that the command-line program itself needs no Qt.
#include "companion/headless/PictureCommand.h"
#include "core/app/Folders.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string home = fenta21::currentFolder();
    if (args.size() >= 2 && args[0] == "--home") {
        std::error_code ec;
        home = std::filesystem::absolute(args[1], ec).lexically_normal().string();
        args.erase(args.begin(), args.begin() + 2);
    }
    // Pictures are drawn into memory: no window system is wanted, even where one is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes (no XDG_RUNTIME_DIR, a font it stood in for) are not the command's to say.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "fenta21-cli plot: %s\n", qPrintable(text));
    });
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    return fenta21::plot::runPictureCommand(home, args);
}
