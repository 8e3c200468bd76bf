// The CSV conversion and the data file display from the main window's commands, through the
// real file dialog, the overwrite question and the text viewer.
#include "tests/gui/DataFileWindowsTest.h"

#include "core/app/CommandTable.h"
#include "core/base/Files.h"
#include "core/datafile/DataFileMessages.h"
#include "gui/app/CMainFrame.h"
#include "gui/base/TextFileViewer.h"
#include "sim/image/DataImage.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using namespace fenta21;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 20000;  // ms; only a window that never comes waits this long
const std::string kOldCsv = "old\r\n";

std::string writeDataFile(const GuiSimLine& line, const std::string& name) {
    sim::ImageRecipe recipe;
    recipe.instants = 3;
    recipe.channels = {{0, 20, 10, 1, 0}};
    std::string path = line.dataFolder() + "/" + name;
    writeFileAtomically(path, sim::buildDataImage(recipe));
    return path;
}

std::string csvOf(const GuiSimLine& line, const std::string& name) {
    return fenta21::test::readFileBytes(line.dataFolder() + "/" + name + ".csv");
}

// Chooses the named files in the file dialog, as a person types them into its name field.
void chooseFiles(QWidget* window, const QStringList& names) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    QStringList quoted;
    for (const QString& name : names) quoted << '"' + name + '"';
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(names.size() == 1 ? names.front() : quoted.join(' '));
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

}  // namespace

void DataFileWindowsTest::overwriteAllConvertsTheLaterFilesWithoutAsking() {
    GuiSimLine line;
    for (const char* name : {"A", "B", "C"}) {
        writeDataFile(line, std::string(name) + ".v38");
        writeFileAtomically(line.dataFolder() + "/" + name + ".csv", kOldCsv);
    }
    int questions = 0;
    ModalWatcher watcher([&](QWidget* window) {
        if (qobject_cast<QFileDialog*>(window)) return chooseFiles(window, {"A.v38", "B.v38", "C.v38"});
        if (window->objectName() == "overwriteQuestion") {
            ++questions;
            QVERIFY(clickButton(window, QStringLiteral("すべて上書き")));
        }
    });
    line.frame->action(CommandId::kCsvConversion)->trigger();
    QCOMPARE(questions, 1);
    for (const char* name : {"A", "B", "C"}) QVERIFY2(csvOf(line, name).starts_with(kOldCsv) == false, name);
    QVERIFY(csvOf(line, "C").find("date,time,") != std::string::npos);
    QVERIFY(!line.host.notice() || !line.host.notice()->isVisible());
}

void DataFileWindowsTest::noLeavesAnExistingCsvUntouched() {
    GuiSimLine line;
    writeDataFile(line, "A.v38");
    writeDataFile(line, "B.v38");
    writeFileAtomically(line.dataFolder() + "/A.csv", kOldCsv);
    QString asked;
    ModalWatcher watcher([&](QWidget* window) {
        if (qobject_cast<QFileDialog*>(window)) return chooseFiles(window, {"A.v38", "B.v38"});
        if (window->objectName() == "overwriteQuestion") {
            asked = qobject_cast<QMessageBox*>(window)->text();
            QVERIFY(clickButton(window, QStringLiteral("いいえ")));
        }
    });
    line.frame->action(CommandId::kCsvConversion)->trigger();
    QVERIFY(asked.startsWith(QString::fromStdString(line.dataFolder() + "/A.csv")));
    QCOMPARE(csvOf(line, "A"), kOldCsv);
    QVERIFY(csvOf(line, "B").find("date,time,") != std::string::npos);
}

void DataFileWindowsTest::cancellingTheCsvDialogIsReported() {
    GuiSimLine line;
    ModalWatcher watcher([&](QWidget* window) {
        if (auto* dialog = qobject_cast<QFileDialog*>(window))
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        else ModalWatcher::confirmMessageBox(window);
    });
    line.frame->action(CommandId::kCsvConversion)->trigger();
    QCOMPARE(watcher.messages(), QStringList{QString::fromUtf8(kNoFileChosenMessage)});
}

void DataFileWindowsTest::displayMakesTheMissingCsvAndShowsIt() {
    GuiSimLine line;
    writeDataFile(line, "X.v38");
    QString startFolder;
    ModalWatcher watcher([&](QWidget* window) {
        if (auto* dialog = qobject_cast<QFileDialog*>(window)) {
            startFolder = dialog->directory().absolutePath();
            return chooseFiles(window, {"X.v38"});
        }
        ModalWatcher::confirmMessageBox(window);  // "はい" to making the CSV
    });
    line.frame->action(CommandId::kDataFileDisplay)->trigger();
    QCOMPARE(startFolder, QDir(QString::fromStdString(line.dataFolder())).absolutePath());
    QTRY_VERIFY_WITH_TIMEOUT(line.frame->findChild<gui::TextFileViewer*>() != nullptr, kPatience);
    auto* viewer = line.frame->findChild<gui::TextFileViewer*>();
    QCOMPARE(viewer->path(), QString::fromStdString(line.dataFolder() + "/X.csv"));
    QVERIFY(viewer->text().contains("date,time,"));
}

QTEST_MAIN(DataFileWindowsTest)
