#include "tests/gui/GuiSimLine.h"

#include "core/app/Startup.h"
#include "gui/panel/CV38View.h"
#include "sim/image/DataImage.h"

#include <QtTest>

#include <filesystem>
#include <stdexcept>

namespace fenta21::test {

GuiSimLine::GuiSimLine(gui::MainMenuKind menu, double scale) : clock(scale) {
    for (const auto& entry : std::filesystem::directory_iterator(FENTA21_CONFIG_DIR))
        std::filesystem::copy_file(entry.path(), home.file(entry.path().filename().string()));
    std::filesystem::create_directory(dataFolder());
    std::string link = home.file("ttySIM");
    home.write("comports.txt", "COM1 " + link + "\n");
    sim::ImageRecipe recipe;
    recipe.instants = 50;
    recipe.channels = {{0, 20, 10, 1, 0}};
    logger.setMemoryImage(sim::buildDataImage(recipe));
    server = std::make_unique<sim::PtyServer>(link, logger);
    if (!server->start()) throw std::runtime_error(server->error());
    session = std::make_unique<Session>(home.path(), host, clock);
    startUpView(*session);
    frame = std::make_unique<gui::CMainFrame>(*session, host, menu);
    startUpFrame(*session);
}

GuiSimLine::~GuiSimLine() {
    host.closeDown();
    frame.reset();
    session.reset();
    server->stop();
}

void GuiSimLine::unplugLogger() {
    std::string lines;
    for (int port = 1; port <= 9; ++port) lines += "COM" + std::to_string(port) + " " + home.file("absent") + "\n";
    home.write("comports.txt", lines);
}

}  // namespace fenta21::test

namespace fenta21::test {

QStringList GuiSimLine::dataFiles() const {
    QStringList names;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder()))
        names << QString::fromStdString(entry.path().filename().string());
    names.sort();
    return names;
}

void showAndFocus(gui::CMainFrame& frame) {
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    frame.view()->setFocus();
}

}  // namespace fenta21::test
