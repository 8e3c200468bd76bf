// The settings dialogs as the desktop program's host shows them for the panel: lists with
// their preselection, edit boxes with their check, the date and time dialog's own button,
// and the hand-off from the panel's key worker to the window's thread.
#include "core/panel/PanelDialogs.h"
#include "gui/base/Captions.h"
#include "gui/base/ModalWindow.h"
#include "gui/base/QtHost.h"
#include "gui/panel/PanelDialogWindows.h"
#include "gui/panel/SettingsEditDialog.h"
#include "gui/panel/SettingsListDialog.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/SettingsDialogsTest.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <atomic>
#include <future>
#include <thread>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 30000;  // ms

ListDialog waveList(int preselected) {
    ListDialog dialog;
    dialog.id = DialogId::kWaveCanceler;
    dialog.caption = "波消し機能設定";
    dialog.entries = {" OFF", "  5S", " 10S", " 15S", " 20S", " 25S", " 30S"};
    dialog.preselected = preselected;
    return dialog;
}

EditDialog offsetEdit() {
    EditDialog dialog;
    dialog.id = DialogId::kOffset;
    dialog.caption = "オフセット設定";
    dialog.labels = {""};
    dialog.fields = {"-1.500"};
    dialog.unit = "m";
    dialog.check = [](const std::vector<std::string>& fields) {
        return fields.size() == 1 && fields[0].size() < 8 ? std::string() : std::string("-10 から 10 までの数値を入力してください。");
    };
    return dialog;
}

QStringList entriesOf(QWidget* dialog) {
    auto* list = dialog->findChild<QComboBox*>("entryList");
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

}  // namespace

void SettingsDialogsTest::listShowsItsEntriesAndPreselection_data() {
    QTest::addColumn<int>("preselected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a position") << 2 << " 10S";
    QTest::newRow("none") << -1 << "";
    QTest::newRow("beyond the list") << 7 << "";
}

void SettingsDialogsTest::listShowsItsEntriesAndPreselection() {
    QFETCH(int, preselected);
    QFETCH(QString, shown);
    QtHost host;
    PanelDialogWindows dialogs(host);
    QString caption, current;
    QStringList entries;
    bool editable = true;
    ModalWatcher watcher([&](QWidget* window) {
        caption = window->windowTitle();
        entries = entriesOf(window);
        auto* list = window->findChild<QComboBox*>("entryList");
        current = list->currentText();
        editable = list->isEditable();
        list->setCurrentIndex(5);
        clickButton(window, "OK");
    });
    ListDialog dialog = waveList(preselected);
    QCOMPARE(dialogs.choose(dialog), DialogEnd::Ok);
    QCOMPARE(watcher.windows(), QStringList{"settingsDialog1026"});
    QCOMPARE(caption, QStringLiteral("波消し機能設定"));
    QCOMPARE(entries, (QStringList{" OFF", "  5S", " 10S", " 15S", " 20S", " 25S", " 30S"}));
    QCOMPARE(current, shown);
    QVERIFY(!editable);
    QCOMPARE(dialog.chosen, 5);
}

void SettingsDialogsTest::listCancelledHandsBackNothing() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    ModalWatcher watcher([](QWidget* window) {
        window->findChild<QComboBox*>("entryList")->setCurrentIndex(4);
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    });
    ListDialog dialog = waveList(1);
    QCOMPARE(dialogs.choose(dialog), DialogEnd::Cancel);
    QCOMPARE(dialog.chosen, -1);
}

void SettingsDialogsTest::captionsAreShownWhole() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    QMap<QString, int> shortBy;  // caption: how much narrower the window is than its caption needs
    ModalWatcher watcher([&](QWidget* window) {
        shortBy[window->windowTitle()] = captionWidth(window->windowTitle()) - window->frameGeometry().width();
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    });
    for (const char* caption : {"RTC時間補正値設定", "アフタースタート設定"}) {
        EditDialog edit;
        edit.id = DialogId::kRtcAdjust;
        edit.caption = caption;
        edit.labels = {""};
        edit.fields = {"0"};
        dialogs.edit(edit);
    }
    for (const char* caption : {"プリセットタイマー設定", "インターバル設定"}) {
        ListDialog list = waveList(0);
        list.caption = caption;
        dialogs.choose(list);
    }
    QCOMPARE(shortBy.size(), 4);
    for (auto [caption, missing] : shortBy.asKeyValueRange()) QVERIFY2(missing <= 0, qPrintable(caption));
}

void SettingsDialogsTest::editShowsLabelsFieldsAndUnitAndHandsBackTheEntries() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    {
        QStringList labels, fields;
        bool hasOwnButton = true;
        ModalWatcher watcher([&](QWidget* window) {
            for (auto* label : window->findChildren<QLabel*>()) labels << label->text();
            for (int i = 0; auto* field = window->findChild<QLineEdit*>(QString("field%1").arg(i)); ++i)
                fields << field->text();
            hasOwnButton = window->findChild<QWidget*>("actionButton") != nullptr;
            window->findChild<QLineEdit*>("field1")->setText("06:45");
            clickButton(window, "OK");
        });
        EditDialog dialog;
        dialog.id = DialogId::kAfterStart;
        dialog.caption = "アフタースタート設定";
        dialog.labels = {"月/日", "時:分"};
        dialog.fields = {"11/03", "00:00"};
        QCOMPARE(dialogs.edit(dialog), DialogEnd::Ok);
        QCOMPARE(labels, (QStringList{"月/日", "時:分"}));
        QCOMPARE(fields, (QStringList{"11/03", "00:00"}));
        QVERIFY(!hasOwnButton);
        QCOMPARE(dialog.fields, (std::vector<std::string>{"11/03", "06:45"}));
    }

    // The offset's unit stands after its one box.
    QString unit;
    ModalWatcher offsetWatcher([&](QWidget* window) {
        if (auto* label = window->findChild<QLabel*>("unit")) unit = label->text();
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    });
    EditDialog offset = offsetEdit();
    QCOMPARE(dialogs.edit(offset), DialogEnd::Cancel);
    QCOMPARE(unit, QStringLiteral("m"));
    QCOMPARE(offset.fields, std::vector<std::string>{"-1.500"});
}

void SettingsDialogsTest::refusedEntriesKeepTheDialogOpenWithTheMessage() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    QPointer<QWidget> dialogWindow;
    bool openAfterRefusal = false;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() == kRangeMessageName) {
            ModalWatcher::confirmMessageBox(window);
            QTimer::singleShot(0, [&] {
                openAfterRefusal = dialogWindow && dialogWindow->isVisible();
                if (!dialogWindow) return;
                dialogWindow->findChild<QLineEdit*>("field0")->setText("2.5");
                clickButton(dialogWindow, "OK");
            });
            return;
        }
        dialogWindow = window;
        window->findChild<QLineEdit*>("field0")->setText("1234.5678");
        clickButton(window, "OK");
    });
    EditDialog dialog = offsetEdit();
    QCOMPARE(dialogs.edit(dialog), DialogEnd::Ok);
    QVERIFY(openAfterRefusal);
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("-10 から 10 までの数値を入力してください。")});
    QCOMPARE(dialog.fields, std::vector<std::string>{"2.5"});
}

void SettingsDialogsTest::workersRequestOpensTheDialogOnTheWindowsThreadAndWaits() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    bool onWindowsThread = false;
    ModalWatcher watcher([&](QWidget* window) {
        onWindowsThread = window->thread() == qApp->thread();
        window->findChild<QComboBox*>("entryList")->setCurrentIndex(3);
        clickButton(window, "OK");
    });
    ListDialog dialog = waveList(0);
    auto worker = std::async(std::launch::async, [&] { return dialogs.choose(dialog); });
    QTRY_VERIFY_WITH_TIMEOUT(worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready, kPatience);
    QCOMPARE(worker.get(), DialogEnd::Ok);
    QVERIFY(onWindowsThread);
    QCOMPARE(dialog.chosen, 3);
}

void SettingsDialogsTest::ownButtonActsAwayFromTheWindowsThreadAndEndsAsCancel() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    std::atomic<int> actions{0};
    std::atomic<bool> actedOnWindowsThread{true};
    std::atomic<bool> waitWindowSeen{false};
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() == "settingsDialog1016") clickButton(window, QStringLiteral("PCの日付・時間に同期設定"));
        if (window->objectName() == kWaitWindowName) waitWindowSeen.store(true);
    });
    EditDialog dialog;
    dialog.id = DialogId::kDateTime;
    dialog.caption = "日付・時間設定";
    dialog.labels = {"年/月/日", "時:分:秒"};
    dialog.fields = {"26/12/08", "09:30:15"};
    dialog.check = [](const std::vector<std::string>&) { return std::string(); };
    dialog.actionButton = "PCの日付・時間に同期設定";
    dialog.action = [&] {
        actedOnWindowsThread.store(QThread::currentThread() == qApp->thread());
        ++actions;
        // Held until the wait window is seen: the window stands while the action runs.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatience);
        while (!waitWindowSeen.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    QCOMPARE(dialogs.edit(dialog), DialogEnd::Cancel);
    QCOMPARE(actions.load(), 1);
    QVERIFY(!actedOnWindowsThread.load());
    QCOMPARE(watcher.windows(), (QStringList{"settingsDialog1016", kWaitWindowName}));
}

void SettingsDialogsTest::closingProgramAnswersAWorkerWithoutAWindow() {
    QtHost host;
    PanelDialogWindows dialogs(host);
    ModalWatcher watcher([](QWidget* window) { clickButton(window, "OK"); });
    host.closeDown();
    ListDialog list = waveList(0);
    EditDialog edit = offsetEdit();
    auto worker = std::async(std::launch::async, [&] { return std::pair(dialogs.choose(list), dialogs.edit(edit)); });
    QTRY_VERIFY_WITH_TIMEOUT(worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready, kPatience);
    auto [chosen, edited] = worker.get();
    QCOMPARE(chosen, DialogEnd::Cancel);
    QCOMPARE(edited, DialogEnd::Cancel);
    QCOMPARE(watcher.windows(), QStringList{});
}

QTEST_MAIN(SettingsDialogsTest)
