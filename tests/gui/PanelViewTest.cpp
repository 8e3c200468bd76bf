// The remote operation panel in the main window against the simulated logger: the auto link
// starts it, clicks and keys drive it, its settings dialogs write the logger, its collection
// menu collects, and the session ends by disconnect, idle limit, a silent logger or closing.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/panel/PanelLayout.h"
#include "core/panel/PanelSession.h"
#include "gui/base/ModalWindow.h"
#include "gui/panel/CV38View.h"
#include "gui/panel/SettingsEditDialog.h"
#include "sim/LoggerClock.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/PanelViewTest.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::showAndFocus;
using fenta21::test::ModalWatcher;

Q_DECLARE_METATYPE(fenta21::PanelKey)

namespace {

using namespace PanelItem;

constexpr int kPatience = 30000;  // ms; only a broken window ever waits this long

QPoint centreOf(PanelKey key) {
    const PanelRect& area = PanelLayout::kKeyAreas[static_cast<std::size_t>(key)];
    return QPoint((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

long countOf(const std::vector<std::string>& lines, const std::string& text) {
    return std::count(lines.begin(), lines.end(), text);
}

long countStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

// F3 on the view: the auto link, and the panel's session on it showing its banner.
void autoLink(GuiSimLine& line) {
    QTest::keyClick(line.frame->view(), Qt::Key_F3);
    QTRY_COMPARE_WITH_TIMEOUT(line.frame->view()->panel().currentItem(), kBanner, kPatience);
}

PanelSnapshot shown(GuiSimLine& line) { return line.frame->view()->panel().snapshot(); }

// A click on a panel key, and the key worker done with it.
void click(GuiSimLine& line, PanelKey key) {
    CV38View* view = line.frame->view();
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(key));
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
}

void goTo(GuiSimLine& line, int item) {
    for (int i = 0; i < kPanelItemCount && line.frame->view()->panel().currentItem() != item; ++i)
        click(line, PanelKey::Next);
    QCOMPARE(line.frame->view()->panel().currentItem(), item);
}

// The display as the view draws it now.
QImage displayPicture(CV38View* view) {
    const PanelRect& d = PanelLayout::kDisplay;
    return view->grab(QRect(d.left, d.top, d.width(), d.height())).toImage();
}

// Answers the settings dialog `name` with `answer`; message boxes are confirmed and other
// windows left to end by themselves.
ModalWatcher::Handler answerDialog(const QString& name, std::function<void(QWidget*)> answer) {
    return [name, answer](QWidget* window) {
        if (window->objectName() == name) answer(window);
        else ModalWatcher::confirmMessageBox(window);
    };
}

void chooseEntry(QWidget* dialog, const QString& entry) {
    auto* list = dialog->findChild<QComboBox*>("entryList");
    list->setCurrentIndex(list->findText(entry));
    clickButton(dialog, "OK");
}

}  // namespace

void PanelViewTest::bannerScrollsInAndAKeyLeavesIt_data() {
    QTest::addColumn<fenta21::PanelKey>("key");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("name");
    QTest::newRow("next goes to BATT") << PanelKey::Next << int(kBatt) << "BATT            ";
    QTest::newRow("previous goes to ROM Version") << PanelKey::Previous << int(kRomVersion) << "ROM Version     ";
}

void PanelViewTest::bannerScrollsInAndAKeyLeavesIt() {
    QFETCH(fenta21::PanelKey, key);
    QFETCH(int, item);
    QFETCH(QString, name);
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    const QImage idle = displayPicture(line.frame->view());
    autoLink(line);
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(shown(line).line1), QStringLiteral("FENTA21 Series  "),
                              kPatience);
    QVERIFY(displayPicture(line.frame->view()) != idle);  // lit, with the banner on it

    click(line, key);
    QCOMPARE(line.frame->view()->panel().currentItem(), item);
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(shown(line).line1), name, kPatience);
    QCOMPARE(watcher.messages(), QStringList{});
}

void PanelViewTest::clickActsOnlyInsideAKeyArea_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("item");  // where the click leaves the panel
    QTest::addColumn<bool>("menu");
    QTest::newRow("previous") << centreOf(PanelKey::Previous) << int(kRomVersion) << false;
    QTest::newRow("next") << centreOf(PanelKey::Next) << int(kBatt) << false;
    QTest::newRow("enter") << centreOf(PanelKey::Enter) << int(kBanner) << false;
    QTest::newRow("collection menu") << centreOf(PanelKey::CollectionMenu) << int(kBanner) << true;
    QTest::newRow("on the display") << QPoint(188, 60) << int(kBanner) << false;
    QTest::newRow("just right of previous") << QPoint(412, 24) << int(kBanner) << false;
    QTest::newRow("just below the collection menu") << QPoint(446, 115) << int(kBanner) << false;
}

void PanelViewTest::clickActsOnlyInsideAKeyArea() {
    QFETCH(QPoint, at);
    QFETCH(int, item);
    QFETCH(bool, menu);
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    CV38View* view = line.frame->view();
    const long guardsBefore = countOf(line.logger.receivedLines(), "comtm=0");
    int menusShown = 0;
    QObject::connect(view->collectionMenu(), &QMenu::aboutToShow, [&] { ++menusShown; });

    QTest::mousePress(view, Qt::LeftButton, {}, at);
    const bool queued = line.session->panel.pendingKey.load() != 0;
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    QCOMPARE(view->panel().currentItem(), item);
    if (menu) QTRY_VERIFY_WITH_TIMEOUT(view->collectionMenu()->isVisible(), kPatience);
    // Keys 0-2 queue for the worker, which runs them inside the line guard; key 3 and a
    // click beside the keys queue nothing.
    const bool workerKey = item != kBanner || at == centreOf(PanelKey::Enter);
    QCOMPARE(queued, workerKey);
    if (menu) {
        const PanelPoint corner = PanelLayout::kCollectionMenuCorner;
        QCOMPARE(view->collectionMenu()->pos(), view->mapToGlobal(QPoint(corner.x, corner.y)));
        view->collectionMenu()->hide();
    }
    // A key that does act comes next: the guard count shows whether the click before it did.
    click(line, PanelKey::Next);
    QCOMPARE(countOf(line.logger.receivedLines(), "comtm=0") - guardsBefore, workerKey ? 2 : 1);
    QCOMPARE(menusShown, menu ? 1 : 0);
}

void PanelViewTest::heldKeyRepeatsUntilLetGo() {
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    CV38View* view = line.frame->view();
    const long before = countOf(line.logger.receivedLines(), "comtm=0");
    QTest::mousePress(view, Qt::LeftButton, {}, centreOf(PanelKey::Next));
    QCOMPARE(shown(line).pressedKey, 1);
    QTRY_VERIFY_WITH_TIMEOUT(countOf(line.logger.receivedLines(), "comtm=0") - before >= 3, kPatience);
    QTest::mouseRelease(view, Qt::LeftButton, {}, centreOf(PanelKey::Next));
    QCOMPARE(shown(line).pressedKey, -1);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    const long moves = countOf(line.logger.receivedLines(), "comtm=0") - before;
    QVERIFY(moves >= 3);
    // Every repeat was a move: BATT, Memo 1, RTC Adjust, ...
    QVERIFY(view->panel().currentItem() >= kRtcAdjust);
}

void PanelViewTest::heldKeyStopsWhenTheFocusLeavesThePanel() {
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    // Back from the link-up's windows, the main window is the active one again.
    QApplication::setActiveWindow(line.frame.get());
    CV38View* view = line.frame->view();
    view->setFocus();
    QVERIFY(view->hasFocus());
    QTest::keyPress(view, Qt::Key_PageDown);
    QCOMPARE(shown(line).pressedKey, 1);
    // The focus goes elsewhere while the key is down: its release never reaches the view.
    view->clearFocus();
    QTRY_COMPARE_WITH_TIMEOUT(shown(line).pressedKey, -1, kPatience);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    // No more repeats: the next click is the only key action after it.
    const long moves = countOf(line.logger.receivedLines(), "comtm=0");
    view->setFocus();
    click(line, PanelKey::Previous);
    QCOMPARE(countOf(line.logger.receivedLines(), "comtm=0"), moves + 1);
}

void PanelViewTest::enterOnIntervalWritesTheChosenCode() {
    GuiSimLine line;
    QString caption, preselected;
    int entries = 0;
    ModalWatcher watcher(answerDialog("settingsDialog1015", [&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto* list = dialog->findChild<QComboBox*>("entryList");
        preselected = list->currentText();
        entries = list->count();
        chooseEntry(dialog, "20min");
    }));
    showAndFocus(*line.frame);
    autoLink(line);
    // Page Up from the banner: ROM Version, Date, Time, Interval.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(line.frame->view(), Qt::Key_PageUp);
        QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    }
    QCOMPARE(line.frame->view()->panel().currentItem(), int(kInterval));
    QTest::keyClick(line.frame->view(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(line.logger.receivedLines(), "intv=20"), 1L, kPatience);
    QCOMPARE(caption, QStringLiteral("インターバル設定"));
    QCOMPARE(preselected, QStringLiteral("10min"));  // the logger's code 17
    QCOMPARE(entries, 21);                          // the wind logger's codes 0-17 and 20-22
    QCOMPARE(watcher.messages(), QStringList{});
}

void PanelViewTest::rtcDialogRefusesSixtyFourAndStaysOpen() {
    GuiSimLine line;
    bool openAfterRefusal = false;
    int keyWhileOpen = -99;
    QPointer<QWidget> rtcDialog;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() == "settingsDialog1012") {
            rtcDialog = window;
            // A key pressed over the panel while its dialog is open does nothing.
            QTest::mouseClick(line.frame->view(), Qt::LeftButton, {}, centreOf(PanelKey::Next));
            keyWhileOpen = line.session->panel.pendingKey.load();
            window->findChild<QLineEdit*>("field0")->setText("64");
            clickButton(window, "OK");
        } else if (window->objectName() == kRangeMessageName) {
            ModalWatcher::confirmMessageBox(window);
            QTimer::singleShot(0, [&] {
                openAfterRefusal = rtcDialog && rtcDialog->isVisible();
                if (!rtcDialog) return;
                rtcDialog->findChild<QLineEdit*>("field0")->setText("-5");
                clickButton(rtcDialog, "OK");
            });
        } else ModalWatcher::confirmMessageBox(window);
    });
    showAndFocus(*line.frame);
    autoLink(line);
    goTo(line, kRtcAdjust);
    click(line, PanelKey::Enter);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(line.logger.receivedLines(), "radj=-5"), 1L, kPatience);
    QCOMPARE(countOf(line.logger.receivedLines(), "radj=64"), 0L);
    QVERIFY(openAfterRefusal);
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("-64 から 63 までの整数を入力してください。")});
    QCOMPARE(keyWhileOpen, -3);  // still the enter key being handled: the click queued nothing
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    QCOMPARE(line.frame->view()->panel().currentItem(), int(kRtcAdjust));
}

void PanelViewTest::pcClockButtonSetsTheLoggersClockAndEndsAsCancel() {
    GuiSimLine line;
    // The PC's calendar runs at the test's pace; the logger's clock follows it, an hour slow.
    line.clock.runFrom({2026, 12, 8, 9, 30, 15});
    line.logger.setLoggerClockSource([&] { return sim::LoggerClock::secondsOf(line.clock.localTime()) - 3600; });
    int dialogResult = -1;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() == "settingsDialog1016") {
            auto* dialog = qobject_cast<QDialog*>(window);
            QObject::connect(dialog, &QDialog::finished, [&](int result) { dialogResult = result; });
            clickButton(window, QStringLiteral("PCの日付・時間に同期設定"));
        } else ModalWatcher::confirmMessageBox(window);
    });
    showAndFocus(*line.frame);
    autoLink(line);
    for (int i = 0; i < 3; ++i) click(line, PanelKey::Previous);  // ROM Version, Date, Time
    QCOMPARE(line.frame->view()->panel().currentItem(), int(kTime));
    click(line, PanelKey::Enter);
    QTRY_COMPARE_WITH_TIMEOUT(dialogResult, int(QDialog::Rejected), kPatience);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.pendingKey.load(), 0, kPatience);
    QCOMPARE(countStarting(line.logger.receivedLines(), "time="), 1L);
    const long long pc = sim::LoggerClock::secondsOf(line.clock.localTime());
    const long long logger = sim::LoggerClock::secondsOf(line.logger.loggerTime());
    QVERIFY2(std::llabs(pc - logger) <= 1, qPrintable(QString("PC %1, logger %2").arg(pc).arg(logger)));
    QCOMPARE(watcher.messages(), QStringList{});
}

void PanelViewTest::modeWrittenAndEnteredAgainWritesTheChannelItShows() {
    GuiSimLine line;
    QStringList answers{"Disable", ""};
    QList<QStringList> offered;
    ModalWatcher watcher(answerDialog("settingsDialog1019", [&](QWidget* dialog) {
        auto* list = dialog->findChild<QComboBox*>("entryList");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
        offered << entries;
        chooseEntry(dialog, answers.isEmpty() || answers.front().isEmpty() ? entries.front() : answers.front());
        if (!answers.isEmpty()) answers.removeFirst();
    }));
    showAndFocus(*line.frame);
    autoLink(line);
    goTo(line, kMode);
    click(line, PanelKey::Enter);     // into the channels
    click(line, PanelKey::Previous);  // channel 2
    click(line, PanelKey::Previous);  // channel 3
    click(line, PanelKey::Enter);     // its dialog: Disable
    QTRY_COMPARE_WITH_TIMEOUT(countOf(line.logger.receivedLines(), "mode2=127"), 1L, kPatience);
    click(line, PanelKey::Enter);  // into the channels again, at the one the line shows
    const std::string modeLine = line.session->panel.readTexts([](const PanelTexts& t) { return t.modeLine; });
    QVERIFY2(modeLine.rfind("  ch 3 ", 0) == 0, modeLine.c_str());
    click(line, PanelKey::Enter);
    QTRY_COMPARE_WITH_TIMEOUT(countStarting(line.logger.receivedLines(), "mode2="), 2L, kPatience);
    QStringList writes;
    for (const std::string& sent : line.logger.receivedLines())
        if (sent.rfind("mode", 0) == 0 && sent.find('=') != std::string::npos) writes << QString::fromStdString(sent);
    QCOMPARE(writes.size(), 2);
    QCOMPARE(writes[0], QStringLiteral("mode2=127"));
    QVERIFY(writes[1].startsWith("mode2="));
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered[1], offered[0]);  // the same channel's choices
}

void PanelViewTest::collectionMenuStoresADataFileOverThePanelsLink() {
    GuiSimLine line;
    const QString chosen = QString::fromStdString(line.dataFolder()) + "/menu.v38";
    ModalWatcher watcher([&](QWidget* window) {
        if (auto* files = qobject_cast<QFileDialog*>(window)) {
            files->selectFile(chosen);
            QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
        } else ModalWatcher::confirmMessageBox(window);
    });
    showAndFocus(*line.frame);
    autoLink(line);
    CV38View* view = line.frame->view();
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(PanelKey::CollectionMenu));
    QTRY_VERIFY_WITH_TIMEOUT(view->collectionMenu()->isVisible(), kPatience);
    QStringList texts;
    for (QAction* item : view->collectionMenu()->actions()) texts << item->text();
    QCOMPARE(texts, (QStringList{"最新ﾃﾞｰﾀ回収", "全ﾃﾞｰﾀ回収", "ﾃｷｽﾄ形式回収"}));
    view->collectionMenu()->actions().front()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(line.logger.clearCount(), 1, kPatience);
    QTRY_VERIFY_WITH_TIMEOUT(!line.session->line.collecting(), kPatience);
    QVERIFY(!view->collectionMenu()->isVisible());
    QCOMPARE(watcher.messages(), QStringList{});  // a collection that went well says nothing
    QVERIFY(line.dataFiles().contains("menu.v38"));
    QVERIFY(watcher.windows().contains(kCollectionWindowName));
    // Over the panel's own link: no second link, and the panel goes on.
    QCOMPARE(countOf(line.logger.receivedLines(), "CONNECT"), 1L);
    QCOMPARE(countOf(line.logger.receivedLines(), "copy"), 1L);
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QVERIFY(view->panel().active());
}

void PanelViewTest::idleLimitEndsTheSessionAndThePanelGoesDark() {
    GuiSimLine line;
    ModalWatcher watcher;
    line.session->retry.panelLimit = 1;
    showAndFocus(*line.frame);
    const QImage idle = displayPicture(line.frame->view());
    autoLink(line);
    QTRY_VERIFY_WITH_TIMEOUT(!line.frame->view()->panel().active(), kPatience);
    QTRY_COMPARE_WITH_TIMEOUT(line.frame->view()->panel().currentItem(), int(kIdle), kPatience);
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
    QCOMPARE(shown(line).line1, std::string(16, ' '));
    QTRY_COMPARE_WITH_TIMEOUT(displayPicture(line.frame->view()), idle, kPatience);
    QCOMPARE(watcher.messages(), QStringList{});
}

void PanelViewTest::f4EndsTheSessionAndItsRefresherTakesTheLineDown() {
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    QTest::keyClick(line.frame->view(), Qt::Key_F4);
    QTRY_VERIFY_WITH_TIMEOUT(!line.frame->view()->panel().active(), kPatience);
    QTRY_COMPARE_WITH_TIMEOUT(line.frame->view()->panel().currentItem(), int(kIdle), kPatience);
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
    line.frame->updateCommandStates();
    QVERIFY(line.frame->action(CommandId::kAutoLink)->isEnabled());
    QCOMPARE(watcher.messages(), QStringList{});
}

void PanelViewTest::silentLoggerEndsTheSessionWithTheTimeoutMessage() {
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    sim::LoggerFaults silent;
    silent.silent = true;
    line.logger.setFaults(silent);
    QTRY_COMPARE_WITH_TIMEOUT(line.frame->view()->panel().currentItem(), int(kIdle), kPatience);
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("コマンド応答　受信タイムアウト")});
}

void PanelViewTest::closingTheWindowReleasesTheLine() {
    GuiSimLine line;
    ModalWatcher watcher;
    showAndFocus(*line.frame);
    autoLink(line);
    QVERIFY(line.session->channel()->connected.load());
    line.frame->close();
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
    QVERIFY(!line.frame->view()->panel().active());
}

QTEST_MAIN(PanelViewTest)
