// The launchers of the main window: the option list and what its entries start, the about
// box, and the web site and the manual handed to the desktop.
#include "core/app/CommandTable.h"
#include "core/session/OptionPrograms.h"
#include "gui/app/DesktopProgram.h"
#include "gui/app/Launchers.h"
#include "gui/app/OptionListDialog.h"
#include "tests/gui/LaunchersTest.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/UrlCatcher.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include <utime.h>

#include <ctime>
#include <filesystem>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::ModalWatcher;
using fenta21::test::TempHome;
using fenta21::test::UrlCatcher;

namespace {

constexpr int kPatience = 30000;  // ms; only a broken launcher ever waits this long

std::unique_ptr<DesktopProgram> startProgram(const TempHome& home) {
    return std::make_unique<DesktopProgram>(home.path(), std::make_unique<test::TestClock>(0.02));
}

// Answers the option list: notes its caption and entries, selects `row` (none when -1) and
// presses `button`.
struct OptionListAnswer {
    int row = -1;
    QString button = QStringLiteral("OK");
    QString caption;
    QStringList entries;

    void operator()(QWidget* window) {
        if (window->objectName() != "optionListDialog") return ModalWatcher::confirmMessageBox(window);
        caption = window->windowTitle();
        auto* list = window->findChild<QListWidget*>("optionList");
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
        if (row >= 0) list->setCurrentRow(row);
        clickButton(window, button);
    }
};

struct Started {
    QString program;
    QString folder;
};

}  // namespace

void LaunchersTest::optionListShowsTheProgramsFoundAtStartUp() {
    TempHome home;
    home.write("tool.exe", "");
    home.write("tool", "Tool Box\n");
    home.write("lonely.exe", "");  // no companion: not in the table
    auto program = startProgram(home);
    OptionListAnswer answer;
    answer.button = QStringLiteral("ｷｬﾝｾﾙ");
    ModalWatcher watcher(std::ref(answer));
    QAction* command = program->frame->action(CommandId::kOptionPrograms);
    QVERIFY(command->isEnabled());
    command->trigger();
    QCOMPARE(watcher.windows(), QStringList{"optionListDialog"});
    QCOMPARE(answer.caption, QStringLiteral("FENTA21通信ソフト"));
    QCOMPARE(answer.entries, QStringList{"Tool"});
}

void LaunchersTest::onlyOkWithASelectedEntryIsAChoice_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("selectOnlyCurrent");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("chosen");  // -1: no choice
    QTest::newRow("OK with the second entry") << 1 << false << "OK" << 1;
    QTest::newRow("OK with nothing selected") << -1 << false << "OK" << -1;
    QTest::newRow("OK with a current but unselected entry") << 0 << true << "OK" << -1;
    QTest::newRow("cancel with an entry selected") << 1 << false << QStringLiteral("ｷｬﾝｾﾙ") << -1;
}

void LaunchersTest::onlyOkWithASelectedEntryIsAChoice() {
    QFETCH(int, row);
    QFETCH(bool, selectOnlyCurrent);
    QFETCH(QString, button);
    QFETCH(int, chosen);
    std::vector<OptionProgram> programs{{"Alpha", "alpha.exe"}, {"Beta", "beta.exe"}};
    ModalWatcher watcher([&](QWidget* window) {
        auto* list = window->findChild<QListWidget*>("optionList");
        if (row >= 0 && selectOnlyCurrent) list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        else if (row >= 0) list->setCurrentRow(row);
        clickButton(window, button);
    });
    std::optional<std::size_t> result = OptionListDialog::choose(programs, nullptr);
    QCOMPARE(result ? static_cast<int>(*result) : -1, chosen);
}

void LaunchersTest::chosenEntryRunsAfterTheListCloses_data() {
    QTest::addColumn<QString>("programFile");
    QTest::addColumn<QList<int>>("commands");
    QTest::addColumn<QString>("started");
    QTest::newRow("the viewer entry") << "binary.exe" << QList<int>{CommandId::kDataFileViewer} << "";
    QTest::newRow("another case is another program") << "Binary.exe" << QList<int>{} << "Binary.exe";
}

void LaunchersTest::chosenEntryRunsAfterTheListCloses() {
    QFETCH(QString, programFile);
    QFETCH(QList<int>, commands);
    QFETCH(QString, started);
    TempHome home;
    auto program = startProgram(home);
    program->session.optionPrograms = {{"First", "first.exe"}, {"Chosen", programFile.toStdString()}};
    QWidget window;
    QList<int> ran;
    QList<Started> starts;
    Launchers launchers(program->session, &window, [&](int command) { ran << command; });
    launchers.startProgram = [&](const QString& file, const QString& folder) {
        starts.append({file, folder});
        return true;
    };
    OptionListAnswer answer;
    answer.row = 1;
    ModalWatcher watcher(std::ref(answer));
    launchers.runOption();
    // Nothing has run when the list closes: the entry waits its (scaled) second on the event
    // loop.
    QCOMPARE(watcher.windows(), QStringList{"optionListDialog"});
    QVERIFY(ran.isEmpty() && starts.isEmpty());
    // Either outcome comes from the same step, so once one is seen the other is settled.
    QTRY_VERIFY_WITH_TIMEOUT(!ran.isEmpty() || !starts.isEmpty(), kPatience);
    QCOMPARE(ran, commands);
    if (started.isEmpty()) {
        QCOMPARE(starts.size(), 0);
        return;
    }
    QCOMPARE(starts.size(), 1);
    QCOMPARE(starts[0].program, QString::fromStdString(home.file(started.toStdString())));
    QCOMPARE(starts[0].folder, QString::fromStdString(home.path()));
}

void LaunchersTest::otherEntryStartsItsProgramInTheHomeFolder() {
    TempHome home;
    // The marker appears whole, under its own name, in the folder the program started in.
    home.write("x.exe", "#!/bin/sh\npwd > marker.tmp && mv marker.tmp marker\n");
    std::filesystem::permissions(home.file("x.exe"), std::filesystem::perms::owner_all);
    home.write("x", "Extra\n");
    home.write("binary.exe", "");
    home.write("binary", "Viewer\n");
    auto program = startProgram(home);
    OptionListAnswer answer;
    answer.row = 1;
    ModalWatcher watcher(std::ref(answer));
    program->frame->action(CommandId::kOptionPrograms)->trigger();
    QCOMPARE(answer.entries, (QStringList{"Viewer", "Extra"}));
    QTRY_VERIFY_WITH_TIMEOUT(home.exists("marker"), kPatience);
    QString folder = QString::fromStdString(home.read("marker")).trimmed();
    QCOMPARE(folder, QString::fromStdString(std::filesystem::canonical(home.path()).string()));
}

void LaunchersTest::aboutBoxShowsTheFixedDateAndTheProgramFileTime_data() {
    QTest::addColumn<bool>("programFile");
    QTest::addColumn<QString>("programTime");
    QTest::newRow("rimo.exe in the home folder") << true << "2016-05-04 03.02.01";
    QTest::newRow("no rimo.exe") << false << "";
}

void LaunchersTest::aboutBoxShowsTheFixedDateAndTheProgramFileTime() {
    QFETCH(bool, programFile);
    QFETCH(QString, programTime);
    TempHome home;
    if (programFile) {
        home.write("rimo.exe", "MZ");
        std::tm local{};
        local.tm_year = 2016 - 1900;
        local.tm_mon = 4;
        local.tm_mday = 4;
        local.tm_hour = 3;
        local.tm_min = 2;
        local.tm_sec = 1;
        local.tm_isdst = -1;
        utimbuf times{};
        times.actime = times.modtime = std::mktime(&local);
        QCOMPARE(utime(home.file("rimo.exe").c_str(), &times), 0);
    }
    auto program = startProgram(home);
    QString caption;
    QStringList texts;
    bool hasIcon = false;
    ModalWatcher watcher([&](QWidget* window) {
        caption = window->windowTitle();
        for (const char* name : {"programName", "version", "fixedDate", "programTime"})
            texts << window->findChild<QLabel*>(name)->text();
        auto* icon = window->findChild<QLabel*>("icon");
        hasIcon = icon != nullptr && !icon->pixmap().isNull();
        clickButton(window, "OK");
    });
    program->frame->action(CommandId::kAbout)->trigger();
    QCOMPARE(watcher.windows(), QStringList{"aboutBox"});
    QCOMPARE(caption, QStringLiteral("FENTA21(R) 通信ソフトVer情報"));
    QVERIFY(hasIcon);
    QCOMPARE(texts, (QStringList{QStringLiteral("FENTA21(R) 通信ソフト"), "RIMO Ver 3.01", "2017/03/09 12:00:00",
                                 programTime}));
}

void LaunchersTest::webSiteAndManualGoThroughTheDesktop_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("manualPresent");
    QTest::addColumn<QString>("opened");  // "@" stands for the home folder
    QTest::newRow("web site") << CommandId::kWebSite << false << "https://www.brightlow.co.jp/";
    QTest::newRow("manual") << CommandId::kHelp << true << "file://@/v38rimo_manu/page.html";
    QTest::newRow("manual missing") << CommandId::kHelp << false << "";
}

void LaunchersTest::webSiteAndManualGoThroughTheDesktop() {
    QFETCH(int, command);
    QFETCH(bool, manualPresent);
    QFETCH(QString, opened);
    TempHome home;
    if (manualPresent) {
        std::filesystem::create_directory(home.file("v38rimo_manu"));
        home.write("v38rimo_manu/page.html", "<html></html>");
    }
    auto program = startProgram(home);
    UrlCatcher desktop({"http", "https", "file"});
    program->frame->action(command)->trigger();
    QStringList urls;
    for (const QUrl& url : desktop.opened()) urls << url.toString();
    QCOMPARE(urls, opened.isEmpty() ? QStringList{} : QStringList{opened.replace("@", QString::fromStdString(home.path()))});
}

QTEST_MAIN(LaunchersTest)
