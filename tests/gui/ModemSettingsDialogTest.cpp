// "モデムの設定" from the main window's command, with the simulated modem on COM3: the preset
// lists, the "検索" over the ports, and what "OK" and "ｷｬﾝｾﾙ" leave in the settings.
#include "tests/gui/ModemSettingsDialogTest.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/session/SystemSettings.h"
#include "gui/remote/ModemSettingsDialog.h"
#include "gui/base/StatusNotice.h"
#include "sim/SimModem.h"
#include "tests/gui/GuiModemLine.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <QWindow>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

QComboBox* list(QWidget* dialog, const char* name) { return dialog->findChild<QComboBox*>(name); }

// COM3 leads to the modem.
struct ModemOnComThree : test::GuiModemLine {
    ModemOnComThree() : GuiModemLine(3) {}

    // Opens the dialog, searches from `fromPort` and presses `finish`; the port selected after
    // the search is returned.
    int searchAndFinish(int fromPort, const QString& finish, QStringList* messages = nullptr) {
        int selectedAfter = -1;
        ModalWatcher watcher([&](QWidget* window) {
            if (window->objectName() != "modemSettingsDialog") return ModalWatcher::confirmMessageBox(window);
            QTimer::singleShot(0, window, [&, window] {
                list(window, "portList")->setCurrentIndex(fromPort);
                window->findChild<QPushButton*>("searchButton")->click();
                selectedAfter = list(window, "portList")->currentIndex();
                clickButton(window, finish);
            });
        });
        line.frame->action(CommandId::kModemSettings)->trigger();
        if (messages) *messages = watcher.messages();
        return selectedAfter;
    }
};

}  // namespace

void ModemSettingsDialogTest::opensWithTheSavedChoicesAndShowsEachPortsDevice() {
    ModemOnComThree bench;
    bench.line.session->settings.modemSpeedIndex = 7;
    bench.line.session->settings.modemPortIndex = 4;
    bench.line.session->settings.dialMethod = 1;
    ModemSettingsDialog dialog(*bench.line.session, nullptr);
    QCOMPARE(list(&dialog, "speedList")->count(), 10);
    QCOMPARE(list(&dialog, "speedList")->itemText(9), QStringLiteral("115200bps"));
    QCOMPARE(list(&dialog, "speedList")->currentIndex(), 7);
    QCOMPARE(list(&dialog, "portList")->currentIndex(), 4);
    QVERIFY(dialog.findChild<QRadioButton*>("pulseChoice")->isChecked());
    QCOMPARE(list(&dialog, "portList")->itemText(2),
             QString::fromStdString("COM3  " + bench.line.home.file("ttyMODEM")));
}

void ModemSettingsDialogTest::searchFromComThreeFindsTheModemAndCancelKeepsTheSettings() {
    ModemOnComThree bench;
    bench.line.session->settings.modemPortIndex = 0;
    QStringList messages;
    QCOMPARE(bench.searchAndFinish(2, QStringLiteral("ｷｬﾝｾﾙ"), &messages), 2);
    QCOMPARE(messages, QStringList{});
    QCOMPARE(bench.line.session->settings.modemPortIndex, 0);
    QVERIFY(!bench.line.home.exists("system.dat"));
    QCOMPARE(bench.line.session->line.state(), LineState::Idle);
}

void ModemSettingsDialogTest::searchFromComNineWrapsToTheModemAndOkSavesIt() {
    ModemOnComThree bench;
    QCOMPARE(bench.searchAndFinish(8, "OK"), 2);
    QCOMPARE(bench.line.session->settings.modemPortIndex, 2);
    SystemSettings saved;
    loadSettings(bench.line.home.file("system.dat"), saved);
    QCOMPARE(saved.modemPortIndex, 2);
    // The modem heard "AT" once, on the port it sits on.
    QCOMPARE(bench.modem.receivedLines(), std::vector<std::string>{"AT"});
}

void ModemSettingsDialogTest::searchIsRefusedWhileTheLineIsInUse() {
    ModemOnComThree bench;
    bench.line.session->line.setState(LineState::Linked);
    QStringList messages;
    QCOMPARE(bench.searchAndFinish(2, QStringLiteral("ｷｬﾝｾﾙ"), &messages), 2);
    QCOMPARE(messages, QStringList{QStringLiteral("通信接続中のため検索できません!!")});
    QVERIFY(bench.modem.receivedLines().empty());
}

void ModemSettingsDialogTest::searchNoticesStandAboveTheDialog() {
    ModemOnComThree bench;
    QStringList shown;
    bool aboveAndLegible = true;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != "modemSettingsDialog") return ModalWatcher::confirmMessageBox(window);
        QTimer::singleShot(0, window, [&, window] {
            // Looked at while the search runs, as the user would see it.
            QTimer look;
            QObject::connect(&look, &QTimer::timeout, [&] {
                StatusNotice* notice = bench.line.host.notice();
                if (notice == nullptr || !notice->isVisible()) return;
                if (shown.value(shown.size() - 1) != notice->text()) shown << notice->text();
                aboveAndLegible = aboveAndLegible && notice->isEnabled() &&
                                  notice->windowHandle()->transientParent() == window->windowHandle();
            });
            look.start(5);
            list(window, "portList")->setCurrentIndex(2);
            window->findChild<QPushButton*>("searchButton")->click();
            look.stop();
            clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
        });
    });
    bench.line.frame->action(CommandId::kModemSettings)->trigger();
    QCOMPARE(shown, (QStringList{QStringLiteral("COM3のポートを確認中!!     "), QStringLiteral("COM3のモデムを検出しました。  ")}));
    QVERIFY(aboveAndLegible);
}

QTEST_MAIN(ModemSettingsDialogTest)
