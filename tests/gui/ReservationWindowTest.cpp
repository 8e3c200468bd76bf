// "予約回収" from the main window's command: the reservation list and its time dialog, the
// scheduler switched on in the window collecting the simulated logger on COM1 at its minute,
// RSV.LOG and the notice window, and the on/off state across a restart.
#include "tests/gui/ReservationWindowTest.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/base/Bytes.h"
#include "core/base/Cp932.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/Scheduler.h"
#include "core/remote/SchedulerClaim.h"
#include "gui/app/DesktopProgram.h"
#include "gui/base/ModalWindow.h"
#include "gui/remote/CollectionListModel.h"
#include "gui/remote/RemoteWindows.h"
#include "gui/remote/ReservationNotice.h"
#include "gui/remote/ReservationWindow.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <unistd.h>

#include <fstream>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

std::string programNameOfThisProcess() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

struct SchedulerBench {
    GuiSimLine line;
    std::unique_ptr<ReservationScheduler> scheduler = std::make_unique<ReservationScheduler>(*line.session);

    SchedulerBench() {
        line.frame->remoteWindows()->setScheduler(scheduler.get());
        line.session->addressBook.store(0, {"河辺", "", "", "KAWABE", "", "com"});
        line.session->addressBook.store(1, {"ﾀﾞﾑ", "", "", "DAM", "", "com"});
    }
    ReservationWindow* open() {
        line.frame->action(CommandId::kReservation)->trigger();
        return line.frame->remoteWindows()->reservationWindow();
    }
    void writeReservations(const std::vector<Reservation>& reservations) {
        std::string bytes;
        for (const Reservation& r : reservations) {
            for (int value : {r.time.day, r.time.hourCode, r.time.minute, r.station}) appendInt32LE(bytes, value);
        }
        line.home.write("rsv.dat", bytes);
        line.session->reservations.replace(loadReservations(line.home.file("rsv.dat")));
    }
};

void press(QWidget* window, const char* button) { window->findChild<QPushButton*>(button)->click(); }

void select(QWidget* window, const char* list, int row) {
    auto* view = window->findChild<QTreeView*>(list);
    view->setCurrentIndex(view->model()->index(row, 0));
    emit view->clicked(view->model()->index(row, 0));
}

QStringList rowTexts(QWidget* window, int row) {
    auto* view = window->findChild<QTreeView*>("reservationList");
    QStringList texts;
    for (int c = 0; c < 4; ++c) texts << view->model()->index(row, c).data().toString();
    return texts;
}

// Sets the time dialog's lists and confirms it.
void answerTime(QWidget* dialog, int day, int hourCode, int minute) {
    dialog->findChild<QComboBox*>("dayList")->setCurrentIndex(day);
    dialog->findChild<QComboBox*>("hourList")->setCurrentIndex(hourCode);
    dialog->findChild<QComboBox*>("minuteList")->setCurrentIndex(minute);
    clickButton(dialog, "OK");
}

}  // namespace

void ReservationWindowTest::reservationForTheNextMinuteRunsAndItsReportRaisesTheNotice() {
    SchedulerBench bench;
    bench.line.clock.runFrom({2026, 12, 8, 9, 30, 50});
    QList<int> hotRows;
    QList<bool> green;
    ReservationWindow* window = bench.open();
    auto* model = qobject_cast<CollectionListModel*>(window->findChild<QTreeView*>("reservationList")->model());
    ModalWatcher watcher([&](QWidget* modal) {
        if (modal->objectName() == "reservationTimeDialog") {
            QTimer::singleShot(0, modal, [modal] { answerTime(modal, 0, 10, 31); });
        } else if (modal->objectName() == kConnectionWindowName) {
            hotRows << model->hotRow();
            green << model->running();
            // The user picks another station while the reserved collection runs: its log
            // lines still name the station collected.
            select(window, "stationList", 1);
        } else ModalWatcher::confirmMessageBox(modal);
    });
    // The minute after, the other station on the same logger finds nothing new: that is
    // reported, and the report is what the notice window shows. A success only goes to the log.
    bench.writeReservations({{{0, 10, 32}, 1}});
    select(window, "stationList", 0);
    press(window, "addButton");
    QCOMPARE(rowTexts(window, 1), (QStringList{QStringLiteral("毎日"), "  09", "  31", "001"}));
    press(window, "startStopButton");
    QCOMPARE(window->findChild<QPushButton*>("startStopButton")->text(), QStringLiteral("予約停止"));
    std::string expected = "[001 河辺] 正常終了";
    QVERIFY(QTest::qWaitFor(
        [&] {
            return cp932ToUtf8(bench.line.home.read("RSV.LOG")).find(expected) != std::string::npos &&
                   bench.line.frame->remoteWindows()->reservationNotice() != nullptr;
        },
        60000));
    ReservationNotice* notice = bench.line.frame->remoteWindows()->reservationNotice();
    QVERIFY(notice->isVisible());
    QVERIFY(notice->text().startsWith(QStringLiteral("[002 ﾀﾞﾑ] ")));
    QCOMPARE(hotRows, (QList<int>{1, 0}));
    QCOMPARE(green, (QList<bool>{true, true}));
    QCOMPARE(bench.line.dataFiles().filter("KAWABE").filter(".v38").size(), 1);
    press(window, "startStopButton");
    bench.scheduler->waitForWorker();
    QCOMPARE(bench.line.home.read("rsvflg.dat"), std::string("\x00\x00", 2));
}

void ReservationWindowTest::editingARowsTimeKeepsItsPlaceAndStation() {
    SchedulerBench bench;
    // A record naming no place of the book is never shown.
    bench.writeReservations({{{0, 0, 5}, 0}, {{0, 0, 6}, 150}, {{3, 11, 0}, 1}});
    ReservationWindow* window = bench.open();
    QList<int> preset;
    ModalWatcher watcher([&](QWidget* modal) {
        if (modal->objectName() != "reservationTimeDialog") return ModalWatcher::confirmMessageBox(modal);
        for (const char* name : {"dayList", "hourList", "minuteList"})
            preset << modal->findChild<QComboBox*>(name)->currentIndex();
        QTimer::singleShot(0, modal, [modal] { answerTime(modal, 3, 11, 45); });
    });
    QCOMPARE(rowTexts(window, 1), (QStringList{"   3", "  10", "  00", "002"}));
    select(window, "reservationList", 1);
    press(window, "timePropertiesButton");
    QCOMPARE(preset, (QList<int>{3, 11, 0}));
    std::vector<Reservation> expected{{{0, 0, 5}, 0}, {{3, 11, 45}, 1}};
    QCOMPARE(bench.line.session->reservations.snapshot(), expected);
    QCOMPARE(loadReservations(bench.line.home.file("rsv.dat")), expected);
    QCOMPARE(rowTexts(window, 1), (QStringList{"   3", "  10", "  45", "002"}));
    window->close();
}

void ReservationWindowTest::logClearAnsweredNoKeepsTheLog() {
    SchedulerBench bench;
    bench.line.home.write("RSV.LOG", "log");
    ReservationWindow* window = bench.open();
    QString answer = QStringLiteral("いいえ");
    ModalWatcher watcher([&](QWidget* modal) {
        if (modal->objectName() == "yesNoQuestion") clickButton(modal, answer);
    });
    press(window, "clearLogButton");
    QCOMPARE(watcher.messages(), QStringList{ReservationWindow::kLogClearQuestion});
    QVERIFY(bench.line.home.exists("RSV.LOG"));
    answer = QStringLiteral("はい");
    press(window, "clearLogButton");
    QVERIFY(!bench.line.home.exists("RSV.LOG"));
    window->close();
}

void ReservationWindowTest::schedulerStartedInTheWindowIsOnAgainAfterARestart() {
    SchedulerBench bench;
    QPointer<ReservationWindow> window = bench.open();
    // The command does nothing while the window is open.
    QCOMPARE(bench.open(), window.data());
    press(window, "startStopButton");
    press(window, "closeButton");
    QVERIFY(QTest::qWaitFor([&] { return window.isNull(); }, 30000));
    QVERIFY(bench.scheduler->workerAlive());
    QCOMPARE(bench.line.home.read("rsvflg.dat"), std::string("\x01\x00", 2));
    bench.scheduler.reset();

    DesktopProgram restarted(bench.line.home.path(), std::make_unique<test::TestClock>(0.05));
    QVERIFY(restarted.scheduler.workerAlive());
    QVERIFY(restarted.frame->remoteWindows()->reservationWindow() == nullptr);
    restarted.scheduler.switchOff();
    restarted.scheduler.waitForWorker();
}

void ReservationWindowTest::anotherProgramsSchedulerIsNamedAndNoSecondOneStarts() {
    SchedulerBench bench;
    bench.line.home.write("rsvflg.dat", std::string("\x01\x00", 2));
    SchedulerHolder none;
    std::optional<SchedulerClaim> service = SchedulerClaim::take(bench.line.home.path(), none);
    QVERIFY(service.has_value());
    const QString expected = QStringLiteral("予約回収は他のプログラム(%1 PID %2)が実行中です!! ")
                                 .arg(QString::fromStdString(programNameOfThisProcess()))
                                 .arg(::getpid());
    ModalWatcher watcher([](QWidget* modal) { ModalWatcher::confirmMessageBox(modal); });

    DesktopProgram started(bench.line.home.path(), std::make_unique<test::TestClock>(0.05));
    QVERIFY(QTest::qWaitFor([&] { return watcher.messages().contains(expected); }, 30000));
    QVERIFY(!started.scheduler.workerAlive());
    // The window's start button is told the same and starts nothing; the flag stays as it was.
    started.frame->action(CommandId::kReservation)->trigger();
    press(started.frame->remoteWindows()->reservationWindow(), "startStopButton");
    QCOMPARE(watcher.messages().count(expected), 2);
    QVERIFY(!started.scheduler.workerAlive());
    QCOMPARE(bench.line.home.read("rsvflg.dat"), std::string("\x01\x00", 2));
    started.frame->remoteWindows()->reservationWindow()->close();
}

void ReservationWindowTest::aReservationAnotherProgramStoresShowsInTheOpenWindow() {
    SchedulerBench bench;
    bench.line.clock.runFrom({2026, 12, 8, 9, 0, 30});
    ReservationWindow* window = bench.open();
    press(window, "startStopButton");
    // A script on the same home adds a reservation while the scheduler runs.
    saveReservations(bench.line.home.file("rsv.dat"), {{{0, 0, 45}, 1}});
    auto* list = window->findChild<QTreeView*>("reservationList");
    QVERIFY(QTest::qWaitFor([&] { return list->model()->rowCount() == 1; }, 30000));
    QCOMPARE(rowTexts(window, 0), (QStringList{QStringLiteral("毎日"), QStringLiteral("毎時"), "  45", "002"}));
    press(window, "startStopButton");
    bench.scheduler->waitForWorker();
    window->close();
}

QTEST_MAIN(ReservationWindowTest)
