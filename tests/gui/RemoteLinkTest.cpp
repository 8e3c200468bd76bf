// The remote link from the main window's command: the station chooser, the dialling through
// the simulated modem on COM2, the unit selection and the line handed to the panel.
#include "tests/gui/RemoteLinkTest.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
#include "core/protocol/Disconnect.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "tests/gui/GuiModemLine.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTreeView>
#include <QtTest>

#include <algorithm>

using namespace fenta21;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr const char* kNumber = "0312345678";

struct ModemOnComTwo : test::GuiModemLine {
    ModemOnComTwo() : GuiModemLine(2) {
        line.session->settings.modemPortIndex = 1;
        line.session->settings.modemSpeedIndex = 5;
    }

    // The remote link command, with `inChooser` acting in the station chooser and every other
    // window left to end by itself (message boxes confirmed).
    QStringList run(const std::function<void(QWidget*)>& inChooser,
                    const std::function<void(QWidget*)>& inEditor = {}) {
        ModalWatcher watcher([&](QWidget* window) {
            auto act = window->objectName() == "stationChooser" ? inChooser
                       : window->objectName() == "stationEditor" ? inEditor
                                                                 : nullptr;
            if (act) QTimer::singleShot(0, window, [act, window] { act(window); });
            else ModalWatcher::confirmMessageBox(window);
        });
        line.frame->action(CommandId::kRemoteLink)->trigger();
        return watcher.windows();
    }
};

void selectRow(QWidget* window, int row) {
    auto* list = window->findChild<QTreeView*>("stationList");
    list->setCurrentIndex(list->model()->index(row, 0));
}

}  // namespace

void RemoteLinkTest::okWithoutASelectionCancels() {
    ModemOnComTwo bench;
    bench.line.session->addressBook.store(0, {"河辺", kNumber, "", "K", "", "modem"});
    bench.line.session->reports.currentStation.store(0);
    QStringList windows = bench.run([](QWidget* chooser) { clickButton(chooser, "OK"); });
    QCOMPARE(windows, QStringList{"stationChooser"});
    QVERIFY(bench.modem.receivedLines().empty());
    // The chooser leaves the word of the station being collected alone.
    QCOMPARE(bench.line.session->reports.currentStation.load(), 0);
    QCOMPARE(bench.line.session->line.state(), LineState::Idle);
}

void RemoteLinkTest::propertiesEditsTheEntryAndSavesAtOnce() {
    ModemOnComTwo bench;
    bool savedBeforeClosing = false;
    QStringList windows = bench.run(
        [&](QWidget* chooser) {
            selectRow(chooser, 5);
            clickButton(chooser, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"));
            (void)QTest::qWaitFor([&] { return bench.line.home.exists("adr.csv"); }, 30000);
            savedBeforeClosing = bench.line.home.exists("adr.csv");
            clickButton(chooser, QStringLiteral("ｷｬﾝｾﾙ"));
        },
        [](QWidget* editor) {
            editor->findChild<QLineEdit*>("nameField")->setText(QStringLiteral("ﾀﾞﾑ"));
            clickButton(editor, "OK");
        });
    QCOMPARE(windows, (QStringList{"stationChooser", "stationEditor"}));
    QVERIFY(savedBeforeClosing);
    AddressBook saved;
    QVERIFY(loadAddressBook(bench.line.home.file("adr.csv"), saved));
    QCOMPARE(saved.station(5).name, std::string("ﾀﾞﾑ"));
    QVERIFY(bench.modem.receivedLines().empty());
}

void RemoteLinkTest::linkToAStationWithUnitsOneAndThreeSelectsUnitOneForThePanel() {
    ModemOnComTwo bench;
    auto& remote = bench.modem.addStation(kNumber, 3);
    bench.line.session->addressBook.store(7, {"河辺", std::string(kNumber) + "_1_3", "", "K", "", "modem"});
    QStringList windows = bench.run([](QWidget* chooser) {
        selectRow(chooser, 7);
        clickButton(chooser, "OK");
    });
    QVERIFY(windows.contains("connectionWindow"));
    QVERIFY(!windows.contains("qt_msgbox"));
    QCOMPARE(bench.line.session->line.state(), LineState::Linked);
    QCOMPARE(bench.line.session->line.panelLinkActive(), 1);
    QCOMPARE(bench.line.session->reports.currentStation.load(), 7);
    QCOMPARE(bench.line.session->reports.currentUnit.load(), 1);
    auto unitOne = remote.unit(1).receivedLines();
    QVERIFY(std::find(unitOne.begin(), unitOne.end(), "_COM0") != unitOne.end());
    QCOMPARE(bench.modem.dialledNumbers(), std::vector<std::string>{kNumber});
    disconnectLine(*bench.line.session);
}

void RemoteLinkTest::stationWithoutUnitsIsLinkedWithoutAUnitSelection() {
    ModemOnComTwo bench;
    auto& remote = bench.modem.addStation(kNumber, 1);
    bench.line.session->addressBook.store(0, {"河辺", kNumber, "", "K", "", "modem"});
    bench.run([](QWidget* chooser) {
        selectRow(chooser, 0);
        clickButton(chooser, "OK");
    });
    QCOMPARE(bench.line.session->line.panelLinkActive(), 1);
    QCOMPARE(bench.line.session->reports.currentUnit.load(), 0);
    auto lines = remote.logger().receivedLines();
    QVERIFY(std::none_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("_COM", 0) == 0; }));
    disconnectLine(*bench.line.session);
}

void RemoteLinkTest::directCollectionAfterALinkToUnitsNamesItsFileWithoutAUnit() {
    ModemOnComTwo bench;
    bench.modem.addStation(kNumber, 3);
    bench.line.session->addressBook.store(7, {"河辺", std::string(kNumber) + "_1_3", "", "K", "", "modem"});
    bench.run([](QWidget* chooser) {
        selectRow(chooser, 7);
        clickButton(chooser, "OK");
    });
    QCOMPARE(bench.line.session->reports.currentUnit.load(), 1);
    bench.line.frame->action(CommandId::kDisconnect)->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(bench.line.session->line.state(), LineState::Idle, 30000);

    // Then the logger on the cable (COM1), collected with F8's command.
    std::string map = "COM1 " + bench.line.home.file("ttySIM") + "\nCOM2 " + bench.line.home.file("ttyMODEM") + "\n";
    for (int n = 3; n <= 9; ++n) map += "COM" + std::to_string(n) + " " + bench.line.home.file("absent") + "\n";
    bench.line.home.write("comports.txt", map);
    bench.line.session->settings.dataFileName = "SITE_A";
    ModalWatcher watcher;
    bench.line.frame->action(CommandId::kDirectCollectionAll)->trigger();
    QCOMPARE(watcher.messages(), QStringList{});
    QStringList files = bench.line.dataFiles();
    QCOMPARE(files.size(), 2);
    for (const QString& file : files)
        QVERIFY2(QRegularExpression(R"(^SITE_A_\d{6}_\d{4}\.(csv|v38)$)").match(file).hasMatch(), qPrintable(file));
}

QTEST_MAIN(RemoteLinkTest)
