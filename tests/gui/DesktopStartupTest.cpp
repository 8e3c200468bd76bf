// The program's start: the home folder from the command line, the menu chosen by the option
// programs, and a scheduler that was on running before the window shows.
#include "core/app/CommandTable.h"
#include "core/app/ProgramVersion.h"
#include "gui/app/DesktopProgram.h"
#include "gui/app/LogProblemBox.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>
#include "tests/gui/DesktopStartupTest.h"

#include <QtTest>

#include <filesystem>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::TempHome;


void DesktopStartupTest::arguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("home");  // "@" stands for the temporary home folder
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("error");
    QTest::newRow("none") << QStringList{"fenta21"} << "/work/folder" << 0 << "";
    QTest::newRow("home") << QStringList{"fenta21", "--home", "@/"} << "@" << 0 << "";
    QTest::newRow("home missing") << QStringList{"fenta21", "--home", "@/absent"} << "/work/folder" << 0
                                  << "the home folder @/absent does not exist";
    QTest::newRow("home without folder") << QStringList{"fenta21", "--home"} << "/work/folder" << 0 << "--home needs a folder";
    QTest::newRow("unknown") << QStringList{"fenta21", "--port"} << "/work/folder" << 0 << "unknown option --port";
    QTest::newRow("CF card command") << QStringList{"fenta21", "--command", "32782", "--home", "@"} << "@" << 32782 << "";
    QTest::newRow("command without id") << QStringList{"fenta21", "--command"} << "/work/folder" << 0
                                        << "--command needs a command id";
    QTest::newRow("no such command") << QStringList{"fenta21", "--command", "32000"} << "/work/folder" << 0
                                     << "unknown command id 32000";
    QTest::newRow("command not a number") << QStringList{"fenta21", "--command", "cf"} << "/work/folder" << 0
                                          << "unknown command id cf";
}

void DesktopStartupTest::arguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, home);
    QFETCH(int, command);
    QFETCH(QString, error);
    TempHome temp;
    QString path = QString::fromStdString(temp.path());
    arguments.replaceInStrings("@", path);
    DesktopArguments parsed = parseDesktopArguments(arguments, "/work/folder");
    QCOMPARE(QString::fromStdString(parsed.homeFolder), QString(home).replace("@", path));
    QCOMPARE(parsed.command, command);
    QCOMPARE(QString::fromStdString(parsed.error), QString(error).replace("@", path));
}

void DesktopStartupTest::answersWithoutADisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // how stdout (status 0) or stderr begins
    QTest::newRow("help") << QStringList{"--help"} << 0 << "usage: fenta21 [--home DIR] [--command ID]\n";
    QTest::newRow("version") << QStringList{"--home", "/", "--version"} << 0
                             << QString("fenta21 %1\n").arg(programVersion());
    QTest::newRow("usage error") << QStringList{"--port"} << 2 << "fenta21: unknown option --port\n";
}

void DesktopStartupTest::answersWithoutADisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    std::vector<std::string> argv{FENTA21_DESKTOP_PATH};
    for (const QString& argument : arguments) argv.push_back(argument.toStdString());
    // Empty, so that a program that tried to open a display would find none. Started with
    // posix_spawn rather than QProcess, whose fork the thread sanitizer cannot follow here.
    const std::map<std::string, std::string> noDisplay{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
    TempHome scratch;
    test::ProcessResult result = test::runProcess(argv, noDisplay, scratch.root());
    QCOMPARE(result.exitCode, status);
    QString said = QString::fromStdString(status == 0 ? result.out : result.err);
    QVERIFY2(said.startsWith(output), qPrintable(said));
}

void DesktopStartupTest::schedulerThatWasOnRunsBeforeTheWindowShows() {
    TempHome home;
    home.write("rsvflg.dat", std::string("\x01\x00", 2));
    DesktopProgram program(home.path(), std::make_unique<test::TestClock>(0.05));
    QVERIFY(program.session.reservationRunning.load());
    QVERIFY(program.scheduler.workerAlive());
    QVERIFY(!program.frame->isVisible());
    QVERIFY(program.frame->heartbeatRunning());
    program.scheduler.switchOff();
}

void DesktopStartupTest::optionProgramChoosesTheMenuWithoutAccelerators() {
    TempHome home;
    home.write("tool.exe", "");
    home.write("tool", "ツール\n");
    home.write("lonely.exe", "");  // no companion: not an option program
    DesktopProgram program(home.path(), std::make_unique<test::TestClock>(0.05));
    QCOMPARE(program.frame->menuKind(), MainMenuKind::WithOptions);
    QVERIFY(program.frame->findChildren<QShortcut*>().isEmpty());
    QStringList top;
    for (QAction* item : program.frame->menuBar()->actions()) top << item->text();
    QVERIFY(top.contains(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)")));
}

void DesktopStartupTest::missingHomeFilesGiveTheDefaults() {
    TempHome home;
    home.write("lonely.exe", "");
    DesktopProgram program(home.path(), std::make_unique<test::TestClock>(0.05));
    QCOMPARE(program.frame->menuKind(), MainMenuKind::WithoutOptions);
    QVERIFY(!program.scheduler.workerAlive());
    QVERIFY(program.session.channel() != nullptr);
    QCOMPARE(program.session.settings.directPortIndex, 0);
    QCOMPARE(program.session.retry.tries, 3);
}

void DesktopStartupTest::qtsOwnDialogsSpeakJapanese() {
    TempHome home;
    DesktopProgram program(home.path(), std::make_unique<test::TestClock>(0.05));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList texts;
    for (auto* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (auto* button : dialog.findChildren<QAbstractButton*>()) texts << button->text();
    for (const QString& japanese : {QStringLiteral("アドレス:"), QStringLiteral("ファイル名(&N):"),
                                    QStringLiteral("開く(&O)"), QStringLiteral("キャンセル")})
        QVERIFY2(texts.contains(japanese), qPrintable(texts.join('|')));
}

void DesktopStartupTest::anUnwritableErrorLogIsSaidOnceWithoutWaiting() {
    TempHome home;
    std::filesystem::create_directory(home.file("ERR.LOG"));  // a folder where the log should be
    std::string lines;
    for (int port = 1; port <= 9; ++port) lines += "COM" + std::to_string(port) + " " + home.file("absent") + "\n";
    home.write("comports.txt", lines);
    DesktopProgram program(home.path(), std::make_unique<test::TestClock>(0.05));
    auto logBoxes = [] {
        QList<QMessageBox*> boxes;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == kLogProblemBoxName && window->isVisible())
                boxes << static_cast<QMessageBox*>(window);
        return boxes;
    };
    test::ModalWatcher watcher;  // confirms the link errors themselves
    for (int attempt = 0; attempt < 2; ++attempt) program.frame->action(CommandId::kDirectCollection)->trigger();
    QCOMPARE(watcher.messages().size(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(logBoxes().size(), 1, 10000);
    QVERIFY(logBoxes().front()->text().contains(QString::fromStdString(home.file("ERR.LOG"))));
    QVERIFY(!logBoxes().front()->isModal());
}

QTEST_MAIN(DesktopStartupTest)
