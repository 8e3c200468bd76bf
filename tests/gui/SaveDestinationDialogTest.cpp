// "保存先の設定" from the main window's command: the refusal of a folder that does not exist,
// the folder browser, the saving of system.dat, and the fields' limit.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/session/SystemSettings.h"
#include "gui/app/SaveDestinationDialog.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/gui/SaveDestinationDialogTest.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QtTest>

#include <filesystem>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

QLineEdit* field(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }

}  // namespace

void SaveDestinationDialogTest::opensWithTheSavedTexts() {
    GuiSimLine line;
    line.session->settings.dataFileName = "KAWABE";
    line.session->settings.dataFolder = "../ﾃﾞｰﾀ";
    SaveDestinationDialog dialog(*line.session);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("保存先の設定"));
    QCOMPARE(field(&dialog, "fileNameField")->text(), QStringLiteral("KAWABE"));
    QCOMPARE(field(&dialog, "folderField")->text(), QStringLiteral("../ﾃﾞｰﾀ"));
}

void SaveDestinationDialogTest::missingFolderIsRefusedAndTheDialogStaysOpen() {
    GuiSimLine line;
    line.session->settings.dataFileName = "OLD";
    QString folderAfterRefusal;
    bool stillOpen = false;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() == "saveDestinationDialog") {
            QTimer::singleShot(0, window, [&, window] {
                field(window, "fileNameField")->setText("NEW");
                field(window, "folderField")->setText(QString::fromStdString(line.home.root() + "/nowhere"));
                clickButton(window, "OK");
                // The condition is looked at only between events, so once the refusal's box is
                // seen the click that showed it has run to its end.
                (void)QTest::qWaitFor([&] { return watcher.messages().size() == 1; }, 30000);
                stillOpen = window->isVisible();
                folderAfterRefusal = field(window, "folderField")->text();
                clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
            });
        } else ModalWatcher::confirmMessageBox(window);
    });
    line.frame->action(CommandId::kSaveDestination)->trigger();
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("設定したフォルダがありません!! ")});
    QVERIFY(stillOpen);
    QCOMPARE(folderAfterRefusal, QStringLiteral("../data/"));
    QCOMPARE(line.session->settings.dataFileName, std::string("OLD"));
    QVERIFY(!line.home.exists("system.dat"));
}

void SaveDestinationDialogTest::browsedFolderIsSavedOnOk() {
    GuiSimLine line;
    std::string chosen = line.home.root() + "/logs";
    std::filesystem::create_directory(chosen);
    ModalWatcher watcher([&](QWidget* window) {
        if (auto* browser = qobject_cast<QFileDialog*>(window)) {
            QTimer::singleShot(0, browser, [browser, chosen] {
                browser->setDirectory(QString::fromStdString(chosen));
                QMetaObject::invokeMethod(browser, "accept", Qt::QueuedConnection);
            });
        } else if (window->objectName() == "saveDestinationDialog") {
            QTimer::singleShot(0, window, [window] {
                field(window, "fileNameField")->setText(QStringLiteral("ｶﾜﾍﾞ"));
                clickButton(window, QStringLiteral("参照"));
                (void)QTest::qWaitFor([&] { return !field(window, "folderField")->text().isEmpty(); }, 30000);
                clickButton(window, "OK");
            });
        } else ModalWatcher::confirmMessageBox(window);
    });
    line.frame->action(CommandId::kSaveDestination)->trigger();
    QCOMPARE(watcher.messages(), QStringList{});
    QCOMPARE(line.session->settings.dataFolder, chosen);
    QCOMPARE(line.session->settings.dataFileName, std::string("ｶﾜﾍﾞ"));
    SystemSettings saved;
    loadSettings(line.home.file("system.dat"), saved);
    QCOMPARE(saved.dataFolder, chosen);
    QCOMPARE(saved.dataFileName, std::string("ｶﾜﾍﾞ"));
}

void SaveDestinationDialogTest::fieldsTakeAtMostSixtyFourCodePageBytes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("single bytes") << QString(70, 'A') << QString(64, 'A');
    QTest::newRow("half-width katakana, one byte each") << QString(70, QChar(0xFF71)) << QString(64, QChar(0xFF71));
    QTest::newRow("kanji, two bytes each") << QString(40, QChar(0x6C34)) << QString(32, QChar(0x6C34));
}

void SaveDestinationDialogTest::fieldsTakeAtMostSixtyFourCodePageBytes() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    GuiSimLine line;
    SaveDestinationDialog dialog(*line.session);
    for (const char* name : {"fileNameField", "folderField"}) {
        QLineEdit* edit = field(&dialog, name);
        // Typed one key at a time, as a person (or an input method) enters text.
        for (QChar character : typed)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
        QCOMPARE(edit->text(), kept);
    }
}

QTEST_MAIN(SaveDestinationDialogTest)
