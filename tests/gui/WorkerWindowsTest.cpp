// Windows of work that runs on other threads: the cancel button, a collection over the user's
// own link, and the scheduler's collection while the user is busy in a dialog or closes the
// program.
#include "core/app/CommandTable.h"
#include "core/app/DirectCollection.h"
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/protocol/CommandExchange.h"
#include "core/remote/Scheduler.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/StatusBar.h"
#include "gui/panel/CV38View.h"
#include "gui/base/ModalWindow.h"
#include "gui/base/StatusNotice.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/WorkerWindowsTest.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QtTest>

#include <filesystem>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 60000;  // ms; only a broken window ever waits this long

// A station on the direct line, reserved for minute 30 of every hour, and a clock just before.
void reserveDirectStation(GuiSimLine& line) {
    line.session->addressBook.store(0, {"河辺", "", "", "KAWABE", "", "com"});
    line.session->reservations.replace({{{0, 0, 30}, 0}});
    line.clock.runFrom({2026, 12, 8, 10, 29, 58});
}

std::string reservationLog(GuiSimLine& line) {
    return line.home.exists("RSV.LOG") ? cp932ToUtf8(line.home.read("RSV.LOG")) : std::string();
}

}  // namespace

void WorkerWindowsTest::cancelInTheConnectionWindowEndsTheSearch() {
    GuiSimLine line;
    sim::LoggerFaults silent;
    silent.silent = true;
    line.logger.setFaults(silent);
    ModalWatcher watcher([](QWidget* window) {
        if (window->objectName() == kConnectionWindowName) fenta21::test::clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
        else ModalWatcher::confirmMessageBox(window);
    });
    line.frame->action(CommandId::kAutoLink)->trigger();
    QCOMPARE(watcher.windows().value(0), QString(kConnectionWindowName));
    QCOMPARE(watcher.messages(), QStringList{QString::fromUtf8(kCancelledMessage)});
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
}

void WorkerWindowsTest::f1OverTheUsersManualLinkCollectsAndLeavesItLinked() {
    GuiSimLine line(MainMenuKind::WithOptions);
    // Over the user's link the collection offers its file name to be confirmed.
    QString offeredName;
    QStringList offeredFilters;
    ModalWatcher watcher([&](QWidget* window) {
        if (auto* saveAs = qobject_cast<QFileDialog*>(window)) {
            offeredName = saveAs->selectedFiles().value(0);
            offeredFilters = saveAs->nameFilters();
            QMetaObject::invokeMethod(saveAs, "accept", Qt::QueuedConnection);
        } else ModalWatcher::confirmMessageBox(window);
    });
    rememberManualLink(*line.session, 0, line.session->settings.directSpeedIndex);
    QCOMPARE(linkUp(*line.session, LinkRequest{1, line.session->settings.directSpeedIndex}), 0);
    line.frame->updateCommandStates();
    QVERIFY(!line.frame->action(CommandId::kDirectCollection)->isEnabled());

    fenta21::test::showAndFocus(*line.frame);
    // The status bar goes on following the line while the key's collection runs.
    int refreshesDuringCollection = 0;
    QObject::connect(line.frame->statusBar(), &StatusBar::refreshed, [&] {
        if (QApplication::activeModalWidget() && QApplication::activeModalWidget()->objectName() == kCollectionWindowName)
            ++refreshesDuringCollection;
    });
    QTest::keyClick(line.frame->view(), Qt::Key_F1);
    QTRY_VERIFY_WITH_TIMEOUT(watcher.windows().contains(kCollectionWindowName), kPatience);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->line.pendingFunctionKey(), 0, kPatience);
    QVERIFY(refreshesDuringCollection > 0);
    QTRY_COMPARE_WITH_TIMEOUT(line.dataFiles().size(), 2, kPatience);  // the data file and its CSV
    QCOMPARE(watcher.messages(), QStringList{});
    QVERIFY(offeredName.endsWith("_261208_0930.v38"));
    QCOMPARE(offeredFilters, QStringList{"Binary data (*.v38)"});  // the dialog trims the leading blank
    QCOMPARE(watcher.windows().count(kConnectionWindowName), 1);  // only the link's own search
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QCOMPARE(line.session->line.panelLinkActive(), 1);
    QVERIFY(line.session->channel()->connected.load());
    QVERIFY(!line.frame->action(CommandId::kDirectCollection)->isEnabled());
    QCOMPARE(line.logger.clearCount(), 1);
}

void WorkerWindowsTest::theLinksNoticeIsPaintedWhileTheWindowGoesOn() {
    GuiSimLine line(MainMenuKind::WithoutOptions, 0.3);
    ModalWatcher watcher;
    bool noticeSeen = false;
    int ticksWithNotice = 0;
    QObject::connect(line.frame->statusBar(), &StatusBar::refreshed, [&] {
        StatusNotice* notice = line.host.notice();
        if (notice == nullptr || !notice->isVisible()) return;
        noticeSeen = notice->findChild<QLabel*>("text")->text().endsWith(QStringLiteral("bpsで接続しました。  "));
        ++ticksWithNotice;
    });
    line.frame->action(CommandId::kAutoLink)->trigger();
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QVERIFY(noticeSeen);
    // The notice stays two seconds (scaled), over several of the heartbeat's ticks.
    QVERIFY(ticksWithNotice > 1);
    QVERIFY(!line.host.notice()->isVisible());
}

void WorkerWindowsTest::reservedCollectionRunsWhileTheUsersDialogIsOpen() {
    GuiSimLine line;
    reserveDirectStation(line);
    ReservationScheduler scheduler(*line.session);
    bool closedByTest = false;
    QPointer<QWidget> usersDialog;
    QTimer closer;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != "saveDestinationDialog") return;
        // The user sits in the dialog; meanwhile the reserved minute comes.
        usersDialog = window;
        scheduler.switchOn();
        closer.start(10);
    });
    QObject::connect(&closer, &QTimer::timeout, [&] {
        bool logged = reservationLog(line).find("正常終了") != std::string::npos;
        if (!logged || !usersDialog || QApplication::activeModalWidget() != usersDialog) return;
        closer.stop();
        closedByTest = true;
        static_cast<QDialog*>(usersDialog.data())->reject();
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        if (usersDialog) static_cast<QDialog*>(usersDialog.data())->reject();
    });
    giveUp.start(kPatience);
    line.frame->action(CommandId::kSaveDestination)->trigger();
    giveUp.stop();
    QVERIFY(closedByTest);
    QCOMPARE(watcher.windows().value(0), QString("saveDestinationDialog"));
    QVERIFY(watcher.windows().contains(kCollectionWindowName));
    QVERIFY(reservationLog(line).find("[001 河辺] 正常終了") != std::string::npos);
    QCOMPARE(line.dataFiles().filter(QRegularExpression("^KAWABE_261208_1030\\.(v38|csv)$")).size(), 2);
    scheduler.switchOff();
    scheduler.waitForWorker();
}

void WorkerWindowsTest::closingTheMainWindowDuringAReservedCollectionReleasesThePort() {
    GuiSimLine line;
    reserveDirectStation(line);
    // Slow enough that the window is closed well before the transfer could end.
    line.server->setPace(2400);
    auto scheduler = std::make_unique<ReservationScheduler>(*line.session);
    bool closedDuringCollection = false;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != kCollectionWindowName) return;
        closedDuringCollection = line.session->channel()->connected.load();
        line.frame->close();
    });
    scheduler->switchOn();
    QTRY_VERIFY_WITH_TIMEOUT(watcher.windows().contains(kCollectionWindowName), kPatience);
    QVERIFY(closedDuringCollection);
    // The collection stops at its next check instead of holding the exit: its window ends,
    // the scheduler goes, the port is closed, and the logger keeps its records.
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, kPatience);
    scheduler.reset();
    QVERIFY(!line.session->channel()->connected.load());
    QCOMPARE(line.logger.clearCount(), 0);
    QCOMPARE(line.logger.transfersCompleted(), 0);
}

QTEST_MAIN(WorkerWindowsTest)
