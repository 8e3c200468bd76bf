// The main window: its layout of commands, and the function keys and commands that run the
// direct collection, the link and the disconnection against the simulated logger.
#include "core/app/CommandTable.h"
#include "core/app/DirectCollection.h"
#include "core/app/Session.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/MainCommands.h"
#include "gui/panel/CV38View.h"
#include "gui/base/ModalWindow.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include "tests/gui/MainFrameTest.h"

#include <QtTest>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::GuiSimLine;
using fenta21::test::showAndFocus;
using fenta21::test::ModalWatcher;

Q_DECLARE_METATYPE(fenta21::gui::MainMenuKind)

namespace {

constexpr int kPatience = 60000;  // ms; only a broken window ever waits this long

// "text=command" for every command item of a menu tree, depth first.
void listItems(const QMenu* menu, QStringList& items) {
    for (QAction* item : menu->actions()) {
        if (item->menu()) listItems(item->menu(), items);
        else if (item->isSeparator()) items << "-";
        else items << item->text() + "=" + item->property("command").toString();
    }
}

QStringList menuLayout(const CMainFrame& frame) {
    QStringList items;
    for (QAction* top : frame.menuBar()->actions()) {
        if (top->menu()) {
            items << "[" + top->text() + "]";
            listItems(top->menu(), items);
        } else items << "[" + top->text() + "]=" + top->property("command").toString();
    }
    return items;
}

}  // namespace


void MainFrameTest::windowHasItsTitleAndFixedSize() {
    GuiSimLine line;
    QCOMPARE(line.frame->windowTitle(), QStringLiteral("FENTA21通信ソフト for Brightlow Ver3.02"));
    QCOMPARE(line.frame->minimumSize(), QSize(640, 216));
    QCOMPARE(line.frame->maximumSize(), QSize(640, 216));
    QVERIFY(line.frame->heartbeatRunning());
}

void MainFrameTest::menusHoldEveryItemWithItsCommand_data() {
    QTest::addColumn<fenta21::gui::MainMenuKind>("kind");
    QTest::addColumn<bool>("accelerators");
    QTest::newRow("menu 128") << MainMenuKind::WithoutOptions << true;
    QTest::newRow("menu 145") << MainMenuKind::WithOptions << false;
}

void MainFrameTest::menusHoldEveryItemWithItsCommand() {
    QFETCH(fenta21::gui::MainMenuKind, kind);
    QFETCH(bool, accelerators);
    GuiSimLine line(kind);
    QStringList expected{
        "[自動接続回収(&A)]",   "接続開始(&A)=32796",   "保存先の設定(&F)...=32777", "任意回収(&A)...=32787",
        "予約回収(&R)...=32788", "モデムの設定(&M)...=32789", "[手動接続回収(&M)]", "自動リンク(&A)=32791",
        "手動リンク(&M)...=32792", "保存先の設定(&F)...=32777", "接続開始(&A)...=32797", "モデムの設定(&M)...=32789",
        "ｷｰﾎﾞｰﾄﾞ直接ｺﾏﾝﾄﾞ入力(&K)...=32794", "回線切断(&C)=32795", "[ﾌｧｲﾙ(&F)]",
        "ﾃﾞｰﾀﾌｧｲﾙ表示(&O)...\tCtrl+O=32771", "CSVﾌｧｲﾙ変換(&C)...\tCtrl+C=32778", "ｱﾄﾞﾚｽ帳(&A)...=32779"};
    if (kind == MainMenuKind::WithOptions) expected << "[ｵﾌﾟｼｮﾝ(&O)]=32775";
    expected << "[ﾍﾙﾌﾟ(&H)]" << "ﾍﾙﾌﾟ(&H)=57667" << "-" << "ﾊﾞｰｼﾞｮﾝ情報(&A)...=57664" << "[ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)]=57665";
    QCOMPARE(menuLayout(*line.frame), expected);

    QStringList keys;
    for (auto* shortcut : line.frame->findChildren<QShortcut*>()) keys << shortcut->key().toString();
    QCOMPARE(keys.contains("F1"), accelerators);
    QCOMPARE(keys.isEmpty(), !accelerators);
}

void MainFrameTest::toolbarHasNineDrawnButtons() {
    GuiSimLine line;
    QStringList commands;
    for (QAction* action : line.frame->toolbar()->actions()) {
        commands << action->objectName();
        QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        QVERIFY2(!action->toolTip().isEmpty(), qPrintable(action->objectName()));
    }
    QCOMPARE(commands, (QStringList{"cmd32796", "cmd32771", "cmd32791", "cmd32795", "cmd32779", "cmd32788", "cmd32778",
                                    "cmd32798", "cmd32780"}));
}

void MainFrameTest::everyCommandHasOneNamedAction() {
    GuiSimLine line;
    for (int command : allCommandIds()) {
        QString name = QString("cmd%1").arg(command);
        QCOMPARE(line.frame->findChildren<QAction*>(name, Qt::FindDirectChildrenOnly).size(), 1);
    }
    // 32782 is reached only through its command id: no menu item or toolbar button shows it.
    QVERIFY(!menuLayout(*line.frame).join(' ').contains("32782"));
    // F1 ... F8 run their commands through the heartbeat; F9 and the keys around run nothing.
    const std::pair<int, std::optional<int>> functionKeys[] = {
        {0x70, CommandId::kDirectCollection}, {0x71, CommandId::kDataFileDisplay}, {0x72, CommandId::kAutoLink},
        {0x73, CommandId::kDisconnect},       {0x74, CommandId::kAddressBook},     {0x75, CommandId::kReservation},
        {0x76, CommandId::kCsvConversion},    {0x77, CommandId::kDirectCollectionAll}, {0x78, std::nullopt},
        {0x6F, std::nullopt},                 {0x79, std::nullopt},                {0, std::nullopt},
    };
    for (const auto& [key, command] : functionKeys) QCOMPARE(functionKeyCommand(key), command);
}

void MainFrameTest::actionsFollowTheLineState_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("linkCommands");
    QTest::addColumn<bool>("disconnect");
    QTest::newRow("idle") << 0 << true << false;
    QTest::newRow("setting up") << 2 << false << false;
    QTest::newRow("linked") << 1 << false << true;
    QTest::newRow("taking down") << -1 << false << false;
}

void MainFrameTest::actionsFollowTheLineState() {
    QFETCH(int, state);
    QFETCH(bool, linkCommands);
    QFETCH(bool, disconnect);
    GuiSimLine line;
    line.session->line.lineState.store(static_cast<LineState>(state));
    line.frame->updateCommandStates();
    QCOMPARE(line.frame->action(CommandId::kDirectCollection)->isEnabled(), linkCommands);
    QCOMPARE(line.frame->action(CommandId::kAutoLink)->isEnabled(), linkCommands);
    QCOMPARE(line.frame->action(CommandId::kRemoteLink)->isEnabled(), linkCommands);
    QCOMPARE(line.frame->action(CommandId::kDisconnect)->isEnabled(), disconnect);
    QVERIFY(line.frame->action(CommandId::kDirectCollectionAll)->isEnabled());
    QVERIFY(line.frame->action(CommandId::kAddressBook)->isEnabled());
    QVERIFY(line.frame->action(CommandId::kCsvConversion)->isEnabled());
    line.session->line.lineState.store(LineState::Idle);
}

void MainFrameTest::f1CollectsOnceWithoutAMessage_data() {
    QTest::addColumn<fenta21::gui::MainMenuKind>("kind");
    // Under 128 the press runs the accelerator and the release must not run it again; under
    // 145 only the release reaches the command, through the heartbeat.
    QTest::newRow("accelerator and view") << MainMenuKind::WithoutOptions;
    QTest::newRow("view only") << MainMenuKind::WithOptions;
}

void MainFrameTest::f1CollectsOnceWithoutAMessage() {
    QFETCH(fenta21::gui::MainMenuKind, kind);
    GuiSimLine line(kind);
    line.session->settings.dataFileName = "KAWABE";
    ModalWatcher watcher;
    showAndFocus(*line.frame);

    QTest::keyClick(line.frame->view(), Qt::Key_F1);
    // The accelerator ran the command while the key was down; its release leaves nothing
    // for the heartbeat.
    if (kind == MainMenuKind::WithoutOptions) QCOMPARE(line.session->line.pendingFunctionKey.load(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(line.session->line.pendingFunctionKey.load() == 0 &&
                                 line.session->line.lineState.load() == LineState::Idle && line.logger.clearCount() > 0,
                             kPatience);
    QCOMPARE(line.logger.clearCount(), 1);
    QCOMPARE(line.dataFiles(),
             (QStringList{"KAWABE_261208_0930.csv", "KAWABE_261208_0930.v38"}));
    QVERIFY(watcher.windows().contains(kConnectionWindowName));
    QVERIFY(watcher.windows().contains(kCollectionWindowName));
    QCOMPARE(watcher.messages(), QStringList{});
    QVERIFY(!line.session->channel()->connected.load());
}

void MainFrameTest::failedSearchReportsTheLinkErrorAndReturnsToIdle() {
    GuiSimLine line;
    line.unplugLogger();
    ModalWatcher watcher;
    line.frame->action(CommandId::kDirectCollection)->trigger();
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("回線接続　エラー !!     ")});
    QCOMPARE(line.session->line.lineState.load(), LineState::Idle);
    QVERIFY(!watcher.windows().contains(kCollectionWindowName));
    QCOMPARE(line.logger.clearCount(), 0);
}

void MainFrameTest::autoLinkThenDisconnect() {
    GuiSimLine line;
    ModalWatcher watcher;
    line.frame->action(CommandId::kAutoLink)->trigger();
    QCOMPARE(line.session->line.lineState.load(), LineState::Linked);
    QCOMPARE(line.session->line.panelLinkActive.load(), 1);
    QVERIFY(!line.frame->action(CommandId::kDirectCollection)->isEnabled());
    QVERIFY(line.frame->action(CommandId::kDisconnect)->isEnabled());

    // The panel's session ends at once; its refresher takes the line down on the next ticks.
    line.frame->action(CommandId::kDisconnect)->trigger();
    QCOMPARE(line.session->line.panelLinkActive.load(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->line.lineState.load(), LineState::Idle, kPatience);
    QVERIFY(!line.session->channel()->connected.load());
    QCOMPARE(watcher.messages(), QStringList{});
}

void MainFrameTest::disconnectTakesDownALinkNoPanelHolds() {
    GuiSimLine line;
    ModalWatcher watcher;
    // A link made without the window's link-up command: no panel session runs on it.
    QCOMPARE(linkUp(*line.session, LinkRequest{1, 5}), 0);
    QCOMPARE(line.session->line.panelLinkActive.load(), 1);
    line.frame->updateCommandStates();
    line.frame->action(CommandId::kDisconnect)->trigger();
    QCOMPARE(line.session->line.lineState.load(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
    QCOMPARE(watcher.messages(), QStringList{});
}

void MainFrameTest::f3WhileLinkIsBeingSetUpDoesNothing() {
    GuiSimLine line(MainMenuKind::WithOptions);
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    line.session->line.lineState.store(LineState::Connecting);
    QTest::keyClick(line.frame->view(), Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->line.pendingFunctionKey.load(), 0, kPatience);
    QCOMPARE(line.session->line.lineState.load(), LineState::Connecting);
    QCOMPARE(watcher.windows(), QStringList{});
    QVERIFY(!line.session->channel()->connected.load());
    line.session->line.lineState.store(LineState::Idle);
}

void MainFrameTest::f4WhileIdleDoesNothing() {
    GuiSimLine line(MainMenuKind::WithOptions);
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    QTest::keyClick(line.frame->view(), Qt::Key_F4);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->line.pendingFunctionKey.load(), 0, kPatience);
    QCOMPARE(line.session->line.lineState.load(), LineState::Idle);
    QCOMPARE(watcher.windows(), QStringList{});
    QCOMPARE(line.host.notice(), nullptr);  // not even the hang-up's notice
}

void MainFrameTest::altEExitsAtTheFirstPress_data() {
    QTest::addColumn<fenta21::gui::MainMenuKind>("kind");
    QTest::newRow("menu 128, with the accelerators") << MainMenuKind::WithoutOptions;
    QTest::newRow("menu 145") << MainMenuKind::WithOptions;
}

void MainFrameTest::altEExitsAtTheFirstPress() {
    QFETCH(fenta21::gui::MainMenuKind, kind);
    GuiSimLine line(kind);
    showAndFocus(*line.frame);
    QTest::keyClick(line.frame->view(), Qt::Key_E, Qt::AltModifier);
    QVERIFY(!line.frame->isVisible());
}

QTEST_MAIN(MainFrameTest)
