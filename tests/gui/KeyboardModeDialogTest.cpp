// "コマンド入力モード" from the main window's command, against the simulated logger: the
// question before "CLEAR", Enter, the received list, and the line guard over a panel link.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/app/KeyboardMode.h"
#include "gui/protocol/KeyboardModeDialog.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/KeyboardModeDialogTest.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 30000;  // ms; only a broken window ever waits this long

QComboBox* commandField(QWidget* window) { return window->findChild<QComboBox*>("commandField"); }
QListWidget* receivedList(QWidget* window) { return window->findChild<QListWidget*>("receivedList"); }

QStringList listed(QWidget* window) {
    QStringList lines;
    QListWidget* list = receivedList(window);
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

int selectedRow(QWidget* window) {
    QListWidget* list = receivedList(window);
    auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

long countOf(const std::vector<std::string>& lines, const std::string& text) {
    return std::count(lines.begin(), lines.end(), text);
}

// Runs `steps` on the keyboard window once it is open, then closes it with "終了"; questions
// are answered from `answers` ("はい" or "いいえ"), other boxes confirmed.
class KeyboardScript {
public:
    KeyboardScript(std::function<void(QWidget*)> steps, QStringList answers = {})
        : watcher_([this](QWidget* window) { look(window); }), steps_(std::move(steps)), answers_(std::move(answers)) {}
    ModalWatcher& watcher() { return watcher_; }
    bool ran() const { return ran_; }

private:
    void look(QWidget* window) {
        if (window->objectName() == "keyboardModeDialog") {
            QTimer::singleShot(0, window, [this, window] {
                steps_(window);
                ran_ = true;
                if (window->isVisible()) clickButton(window, QStringLiteral("終了"));
            });
        } else if (window->objectName() == "yesNoQuestion" && !answers_.isEmpty()) {
            clickButton(window, answers_.takeFirst());
        } else ModalWatcher::confirmMessageBox(window);
    }

    ModalWatcher watcher_;
    std::function<void(QWidget*)> steps_;
    QStringList answers_;
    bool ran_ = false;
};

}  // namespace

void KeyboardModeDialogTest::offersThePresetCommandsInOrder() {
    GuiSimLine line;
    KeyboardModeDialog dialog(*line.session);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("コマンド入力モード"));
    QComboBox* field = commandField(&dialog);
    QVERIFY(field->isEditable());
    QStringList offered;
    for (int i = 0; i < field->count(); ++i) offered << field->itemText(i);
    QCOMPARE(offered, (QStringList{"AT",    "ATDT",   "",      "connect", "rome",   "time=", "time",
                                   "intv=", "intv",   "pretm=", "pretm",  "after=", "after", "coms",
                                   "mode =", "mode",  "moni",  "data",    "radj=",  "radj",  "memo =",
                                   "memo",  "batt",   "copy",  "acopy",   "text"}));
}

void KeyboardModeDialogTest::clearInCapitalsIsAskedFirst() {
    GuiSimLine line;
    KeyboardScript script(
        [&](QWidget* window) {
            for (const char* typed : {"CLEAR", "CLEAR", "clear"}) {
                commandField(window)->setEditText(typed);
                window->findChild<QPushButton*>("sendButton")->click();
            }
            (void)QTest::qWaitFor([&] { return countOf(line.logger.receivedLines(), "clear") == 1; }, kPatience);
        },
        {QStringLiteral("いいえ"), QStringLiteral("はい")});
    line.frame->action(CommandId::kKeyboardMode)->trigger();
    QVERIFY(script.ran());
    QCOMPARE(script.watcher().messages(),
             (QStringList{QString::fromUtf8(kClearQuestion), QString::fromUtf8(kClearQuestion)}));
    auto sent = line.logger.receivedLines();
    QCOMPARE(countOf(sent, "CLEAR"), 1L);  // only the one answered "はい"
    QCOMPARE(countOf(sent, "clear"), 1L);
    QCOMPARE(countOf(sent, "CONNECT"), 0L);  // the mode makes no handshake of its own
    // The mode opened the idle line's port itself, so it closed it again.
    QCOMPARE(line.session->line.state(), LineState::Idle);
    QVERIFY(!line.session->channel()->connected.load());
}

void KeyboardModeDialogTest::typedLinesGoOutAsTypedAndStaySelected() {
    GuiSimLine line;
    QStringList selectedAfterEnter;
    KeyboardScript script([&](QWidget* window) {
        QLineEdit* edit = commandField(window)->lineEdit();
        edit->clear();
        // Typed over the preset list's "connect" and "time=": neither may be taken for them.
        for (const char* typed : {"CONNECT", "time"}) {
            const std::size_t before = line.logger.receivedLines().size();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
            (void)QTest::qWaitFor([&] { return line.logger.receivedLines().size() > before; }, kPatience);
            selectedAfterEnter << edit->selectedText();
        }
        // A second Enter sends the same line again, unchanged.
        QTest::keyClick(edit, Qt::Key_Return);
        (void)QTest::qWaitFor([&] { return line.logger.receivedLines().size() == 3; }, kPatience);
    });
    line.frame->action(CommandId::kKeyboardMode)->trigger();
    QVERIFY(script.ran());
    QStringList sent;
    for (const std::string& received : line.logger.receivedLines()) sent << QString::fromStdString(received);
    QCOMPARE(sent, (QStringList{"CONNECT", "time", "time"}));
    // What was sent is selected, so that the next typing replaces it.
    QCOMPARE(selectedAfterEnter, (QStringList{"CONNECT", "time"}));
}

void KeyboardModeDialogTest::enterSendsOnceTheListFollowsUnlessAnEarlierLineIsSelectedAndEscapeCloses() {
    GuiSimLine line;
    line.logger.setReply("rome", "ROM V3.02");
    QStringList afterFirst, afterSecond, afterThird;
    int selectedAfterSecond = -2, selectedAfterThird = -2;
    bool focusBack = false;
    bool closedByEscape = false;
    KeyboardScript script([&](QWidget* window) {
        QLineEdit* edit = commandField(window)->lineEdit();
        commandField(window)->setEditText("rome");
        auto sendByEnter = [&](int lines) {
            window->findChild<QPushButton*>("ackButton")->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            (void)QTest::qWaitFor([&] { return receivedList(window)->count() == lines; }, kPatience);
        };
        sendByEnter(1);
        afterFirst = listed(window);
        focusBack = edit->hasFocus() || commandField(window)->hasFocus();
        sendByEnter(2);
        afterSecond = listed(window);
        selectedAfterSecond = selectedRow(window);
        receivedList(window)->setCurrentRow(0);  // the user looks at an earlier line
        sendByEnter(3);
        afterThird = listed(window);
        selectedAfterThird = selectedRow(window);
        QTest::keyClick(edit, Qt::Key_Escape);
        closedByEscape = !window->isVisible();
    });
    line.frame->action(CommandId::kKeyboardMode)->trigger();
    QVERIFY(script.ran());
    QCOMPARE(afterFirst, QStringList{"ROM V3.02"});  // once, without its line feed
    QVERIFY(focusBack);
    QCOMPARE(afterSecond.size(), 2);
    QCOMPARE(selectedAfterSecond, 1);  // followed the new last line
    QCOMPARE(afterThird.size(), 3);
    QCOMPARE(selectedAfterThird, 0);  // stayed where the user put it
    QCOMPARE(countOf(line.logger.receivedLines(), "rome"), 3L);  // each Enter sent once
    QVERIFY(closedByEscape);
}

void KeyboardModeDialogTest::overAPanelLinkItHoldsTheLineGuardAndLeavesTheLinkUp() {
    GuiSimLine line;
    line.logger.setReply("rome", "ROM V3.02");
    ModalWatcher linkWatcher;
    line.frame->action(CommandId::kAutoLink)->trigger();
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QCOMPARE(line.session->line.panelLinkActive(), 1);
    // The panel has read the logger's settings and shows its banner.
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.currentItem.load(), 1, kPatience);
    const std::size_t before = line.logger.receivedLines().size();

    bool guardHeld = false;
    KeyboardScript script([&](QWidget* window) {
        guardHeld = line.logger.guardOpen();
        commandField(window)->setEditText("rome");
        window->findChild<QPushButton*>("sendButton")->click();
        (void)QTest::qWaitFor([&] { return receivedList(window)->count() == 1; }, kPatience);
    });
    line.frame->action(CommandId::kKeyboardMode)->trigger();
    QVERIFY(script.ran());
    QVERIFY(guardHeld);
    QStringList sent;
    auto lines = line.logger.receivedLines();
    // Around the guard the panel goes on polling the logger's clock; inside it, nothing.
    for (std::size_t i = before; i < lines.size(); ++i)
        if (lines[i] != "time") sent << QString::fromStdString(lines[i]);
    QCOMPARE(sent, (QStringList{"comtm=0", "rome", "comtm=1"}));
    const auto opened = std::find(lines.begin() + static_cast<long>(before), lines.end(), "comtm=0");
    QCOMPARE(std::find(opened, lines.end(), "time") > std::find(opened, lines.end(), "comtm=1"), true);
    QVERIFY(!line.logger.guardOpen());
    QCOMPARE(line.session->line.state(), LineState::Linked);
    QVERIFY(line.session->channel()->connected.load());
    QCOMPARE(script.watcher().messages(), QStringList{});
}

void KeyboardModeDialogTest::portThatCannotBeOpenedShowsNoWindow() {
    GuiSimLine line;
    line.unplugLogger();
    ModalWatcher watcher;
    line.frame->action(CommandId::kKeyboardMode)->trigger();
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("通信ポート使用不可 !!   ")});
    QVERIFY(!watcher.windows().contains("keyboardModeDialog"));
    QCOMPARE(line.session->line.state(), LineState::Idle);
}

QTEST_MAIN(KeyboardModeDialogTest)
