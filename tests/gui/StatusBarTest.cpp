// The status bar in the main window: its pictures before and during a collection from the
// simulated logger, and the speed text.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/StatusBar.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/StatusBarTest.h"

#include <QAction>
#include <QLabel>
#include <QtTest>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 60000;  // ms; only a broken window ever waits this long

}  // namespace

void StatusBarTest::startsWithItsInitialPictures() {
    GuiSimLine line;
    StatusBar& bar = *line.frame->statusBar();
    QCOMPARE(bar.statePicture()->bitmap(), StatusBitmap::BeforeFirstUpdate);
    QCOMPARE(bar.reservationLamp()->bitmap(), StatusBitmap::ReservationOff);
    QCOMPARE(bar.sendLamp()->bitmap(), StatusBitmap::LampDark);
    QCOMPARE(bar.receiveLamp()->bitmap(), StatusBitmap::LampDark);
    QVERIFY(bar.speedText()->text().isEmpty());
}

void StatusBarTest::lampsOverACollectionAreNeverLitTogether() {
    GuiSimLine line;
    line.session->settings.dataFileName = "KAWABE";
    ModalWatcher watcher;
    StatusBar& bar = *line.frame->statusBar();
    QStringList lamps;
    QList<StatusBitmap> states;
    QObject::connect(&bar, &StatusBar::refreshed, [&] {
        QString send = bar.sendLamp()->bitmap() == StatusBitmap::LampSending ? "S"
                       : bar.sendLamp()->bitmap() == StatusBitmap::LampDark  ? "-"
                                                                             : "?";
        QString receive = bar.receiveLamp()->bitmap() == StatusBitmap::LampReceiving ? "R"
                          : bar.receiveLamp()->bitmap() == StatusBitmap::LampDark    ? "-"
                                                                                     : "?";
        lamps << send + receive;
        if (states.isEmpty() || states.back() != bar.statePicture()->bitmap()) states << bar.statePicture()->bitmap();
    });

    line.frame->action(CommandId::kDirectCollection)->trigger();
    QCOMPARE(line.logger.clearCount(), 1);
    QCOMPARE(watcher.messages(), QStringList{});
    // The heartbeat went on while the collection's windows were open.
    QTRY_VERIFY_WITH_TIMEOUT(lamps.size() > 30 && lamps.back() == "--" && states.back() == StatusBitmap::Idle,
                             kPatience);
    QVERIFY2(!lamps.contains("SR"), qPrintable(lamps.join(' ')));
    QVERIFY2(!lamps.join(' ').contains('?'), qPrintable(lamps.join(' ')));
    QVERIFY2(lamps.contains("S-"), qPrintable(lamps.join(' ')));
    QVERIFY2(lamps.contains("-R"), qPrintable(lamps.join(' ')));
    // A reception lights its lamp only on the tick after the one that latched it.
    for (qsizetype tick = 1; tick < lamps.size(); ++tick)
        if (lamps[tick] == "-R") QVERIFY2(lamps[tick - 1] != "-R", qPrintable(lamps.join(' ')));
    // Each state picture shown is one the line can have; the last is the idle one.
    for (StatusBitmap state : states)
        QVERIFY(state == StatusBitmap::BeforeFirstUpdate || state == StatusBitmap::Idle ||
                state == StatusBitmap::Linked || state == StatusBitmap::SettingUp ||
                state == StatusBitmap::TakingDown);
}

void StatusBarTest::speedTextStaysUntilReplaced() {
    GuiSimLine line;
    StatusBar& bar = *line.frame->statusBar();
    line.session->line.setState(LineState::Connecting);
    line.session->line.setSpeed(9600);
    bar.refresh(*line.session, false);
    QCOMPARE(bar.speedText()->text(), QStringLiteral("9600"));
    line.session->line.setState(LineState::Linked);
    line.session->line.setSpeed(2400);
    bar.refresh(*line.session, false);
    QCOMPARE(bar.speedText()->text(), QStringLiteral("9600"));
    line.session->line.setState(LineState::Idle);
}

QTEST_MAIN(StatusBarTest)
