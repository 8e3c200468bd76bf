// "通信条件設定" from the main window's manual link: the lists, the preset, and a link made
// against the simulated logger over the chosen port and speed.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/session/SystemSettings.h"
#include "gui/app/ManualLinkDialog.h"
#include "gui/base/ModalWindow.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ManualLinkDialogTest.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QComboBox>
#include <QtTest>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

QStringList items(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

// Answers the manual link dialog with a port and a speed, through "OK" or "ｷｬﾝｾﾙ".
ModalWatcher::Handler answer(int portIndex, int speedIndex, const QString& button) {
    return [=](QWidget* window) {
        if (window->objectName() != "manualLinkDialog") return ModalWatcher::confirmMessageBox(window);
        window->findChild<QComboBox*>("portList")->setCurrentIndex(portIndex);
        window->findChild<QComboBox*>("speedList")->setCurrentIndex(speedIndex);
        clickButton(window, button);
    };
}

}  // namespace

void ManualLinkDialogTest::listsTheTenSpeedsAndNinePortsPresetFromTheSettings() {
    GuiSimLine line;
    line.session->settings.directSpeedIndex = 3;
    line.session->settings.directPortIndex = 1;
    ManualLinkDialog dialog(*line.session);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("通信条件設定"));
    auto* speeds = dialog.findChild<QComboBox*>("speedList");
    auto* ports = dialog.findChild<QComboBox*>("portList");
    QCOMPARE(items(speeds), (QStringList{"300bps", "600bps", "1200bps", "2400bps", "4800bps", "9600bps", "19200bps",
                                         "38400bps", "57600bps", "115200bps"}));
    QCOMPARE(items(ports), (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}));
    QCOMPARE(speeds->currentText(), QStringLiteral("2400bps"));
    QCOMPARE(ports->currentText(), QStringLiteral("COM2"));
    // The device behind a port is told beside its name.
    QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), QString::fromStdString(line.home.file("ttySIM")));
    QCOMPARE(dialog.choice().portIndex, 1);
    QCOMPARE(dialog.choice().speedIndex, 3);
}

void ManualLinkDialogTest::okStoresTheChoiceAndLinksUpOverIt() {
    GuiSimLine line;
    line.session->settings.directPortIndex = 4;  // COM5 leads nowhere: only the choice can link
    ModalWatcher watcher(answer(0, 6, "OK"));
    line.frame->action(CommandId::kManualLink)->trigger();
    QCOMPARE(watcher.messages(), QStringList{});
    QVERIFY(watcher.windows().contains(kConnectionWindowName));
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QCOMPARE(line.session->line.panelLinkActive(), 1);
    QCOMPARE(int(line.session->line.linkPort()), 1);
    QCOMPARE(line.session->channel()->baudRate.load(), 19200u);
    QCOMPARE(line.session->settings.directPortIndex, 0);
    QCOMPARE(line.session->settings.directSpeedIndex, 6);
    SystemSettings saved;
    loadSettings(line.home.file("system.dat"), saved);
    QCOMPARE(saved.directPortIndex, 0);
    QCOMPARE(saved.directSpeedIndex, 6);
    QVERIFY(!line.frame->action(CommandId::kManualLink)->isEnabled());

    line.frame->action(CommandId::kDisconnect)->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(line.session->line.state(), LineState::Idle, 30000);
}

void ManualLinkDialogTest::cancelChangesNothing() {
    GuiSimLine line;
    ModalWatcher watcher(answer(0, 5, QStringLiteral("ｷｬﾝｾﾙ")));
    line.frame->action(CommandId::kManualLink)->trigger();
    QCOMPARE(watcher.windows(), QStringList{"manualLinkDialog"});
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QCOMPARE(line.session->settings.directSpeedIndex, 0);
    QVERIFY(!line.home.exists("system.dat"));
    QCOMPARE(line.logger.receivedLines().size(), std::size_t{0});
}

QTEST_MAIN(ManualLinkDialogTest)
