// "バイナリデータ表示" over real data files: the pages of 2048 records and their buttons, the
// rows of a start marker and a broken record, the reported problems, "選択", and the main
// window's command with its file dialog and the panel's line guard.
#include "core/app/CommandTable.h"
#include "core/app/Session.h"
#include "core/datafile/DataFileMessages.h"
#include "gui/datafile/DataFileViewerDialog.h"
#include "gui/datafile/ViewerListModels.h"
#include "gui/panel/CV38View.h"
#include "sim/image/DataImage.h"
#include "tests/gui/DataFileViewerTest.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr int kPatience = 30000;  // ms; only a broken window ever waits this long

sim::ImageRecipe recipeWithRecords(int records) {
    sim::ImageRecipe recipe;
    recipe.instants = records;
    recipe.intervalSeconds = 1;
    recipe.channels = {{3, 20, 53, 1}};
    return recipe;
}

std::string writeDataFile(GuiSimLine& line, const std::string& name, const sim::ImageRecipe& recipe) {
    std::string path = line.dataFolder() + "/" + name;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return {};
    std::string image = sim::buildDataImage(recipe);
    file.write(image.data(), static_cast<qint64>(image.size()));
    return path;
}

QPushButton* button(QWidget* viewer, const char* name) { return viewer->findChild<QPushButton*>(name); }
QTreeView* list(QWidget* viewer, const char* name) { return viewer->findChild<QTreeView*>(name); }

QString cell(QWidget* viewer, const char* listName, int row, int column, int role = Qt::DisplayRole) {
    QAbstractItemModel* model = list(viewer, listName)->model();
    return model->data(model->index(row, column), role).toString();
}

int rows(QWidget* viewer, const char* listName) { return list(viewer, listName)->model()->rowCount(); }

// What the page buttons allow: back, forward.
QPair<bool, bool> pageButtons(QWidget* viewer) {
    return {button(viewer, "previousButton")->isEnabled(), button(viewer, "nextButton")->isEnabled()};
}

// Answers the file dialogs with the given names in the data folder in turn (an empty name
// cancels) and hands the viewer, once it is open, to `atViewer`; the folder each file dialog
// opened in is kept.
class FileDialogScript {
public:
    FileDialogScript(QString folder, QStringList names, std::function<void(DataFileViewerDialog*)> atViewer = {})
        : folder_(std::move(folder)), names_(std::move(names)), atViewer_(std::move(atViewer)),
          watcher_([this](QWidget* window) { answer(window); }) {}

    const ModalWatcher& watcher() const { return watcher_; }
    QStringList openedIn() const { return openedIn_; }

private:
    void answer(QWidget* window) {
        if (auto* files = qobject_cast<QFileDialog*>(window)) {
            openedIn_ << files->directory().absolutePath();
            QString name = names_.isEmpty() ? QString() : names_.takeFirst();
            if (name.isEmpty()) {
                QMetaObject::invokeMethod(files, &QDialog::reject, Qt::QueuedConnection);
                return;
            }
            // The dialog leaves its name field alone while that field has the focus.
            if (QWidget* focused = files->focusWidget()) focused->clearFocus();
            files->selectFile(folder_ + "/" + name);
            QMetaObject::invokeMethod(files, &QDialog::accept, Qt::QueuedConnection);
        } else if (auto* viewer = qobject_cast<DataFileViewerDialog*>(window)) {
            if (atViewer_) atViewer_(viewer);
            QMetaObject::invokeMethod(button(viewer, "closeButton"), &QPushButton::click, Qt::QueuedConnection);
        } else ModalWatcher::confirmMessageBox(window);
    }

    QString folder_;
    QStringList names_;
    std::function<void(DataFileViewerDialog*)> atViewer_;
    QStringList openedIn_;
    ModalWatcher watcher_;
};

}  // namespace

void DataFileViewerTest::shortFileShowsAllItsRecordsOnOnePage() {
    GuiSimLine line;
    ModalWatcher watcher;
    const std::string file = writeDataFile(line, "KAWABE.v38", recipeWithRecords(10));
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(file);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("バイナリデータ表示"));
    auto* name = viewer.findChild<QLineEdit*>("fileNameField");
    QCOMPARE(name->text(), QString::fromStdString(file));
    QVERIFY(name->isReadOnly());

    QCOMPARE(rows(&viewer, "recordList"), 10);
    QCOMPARE(cell(&viewer, "recordList", 0, 0), QStringLiteral("000280"));
    QCOMPARE(cell(&viewer, "recordList", 0, 2), QStringLiteral("26/04/01,00:00:00,  3, 20,    53"));
    QCOMPARE(cell(&viewer, "recordList", 9, 0), QStringLiteral("0002C8"));
    QCOMPARE(cell(&viewer, "recordList", 9, 2), QStringLiteral("26/04/01,00:00:09,  3, 20,    62"));
    QCOMPARE(pageButtons(&viewer), qMakePair(false, false));
    QCOMPARE(viewer.paging().lastPage(), 0);

    // The program's headings, and its widths as the least a column gets.
    const QList<QPair<const char*, QStringList>> headings{
        {"headerList", {"ｱﾄﾞﾚｽ", "内容", "値"}}, {"recordList", {"ｱﾄﾞﾚｽ", "１６進表示", "変換表示"}}};
    const QMap<QString, QList<int>> widths{{"headerList", {48, 108, 204}}, {"recordList", {48, 204, 114}}};
    for (const auto& [listName, texts] : headings) {
        QTreeView* view = list(&viewer, listName);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        for (int column = 0; column < texts.size(); ++column) {
            QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), texts[column]);
            QVERIFY(view->columnWidth(column) >= widths[listName][column]);
        }
    }

    // The header list follows the model's reference file from offset 0: the end offset
    // (just past the tenth record) is the item at 000002.
    QVERIFY(rows(&viewer, "headerList") > 3);
    QCOMPARE(cell(&viewer, "headerList", 0, 0), QStringLiteral("000000"));
    bool endShown = false;
    for (int row = 0; row < rows(&viewer, "headerList"); ++row)
        if (cell(&viewer, "headerList", row, 0) == "000002" && cell(&viewer, "headerList", row, 1).startsWith('L'))
            endShown = cell(&viewer, "headerList", row, 2) == QString::number(640 + 10 * 8);
    QVERIFY(endShown);
    QCOMPARE(watcher.messages(), QStringList{});
}

void DataFileViewerTest::fileEndingAtAPageBoundaryEndsOnAnEmptyPage() {
    GuiSimLine line;
    ModalWatcher watcher;
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(writeDataFile(line, "FULL.v38", recipeWithRecords(2048)));
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));

    button(&viewer, "nextButton")->click();
    QCOMPARE(viewer.paging().page(), 1);
    QCOMPARE(rows(&viewer, "recordList"), 0);
    QCOMPARE(viewer.paging().lastPage(), 1);
    QCOMPARE(pageButtons(&viewer), qMakePair(true, false));

    button(&viewer, "previousButton")->click();
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(cell(&viewer, "recordList", 2047, 0), QString("%1").arg(640 + 2047 * 8, 6, 16, QChar('0')).toUpper());
    // The known last page is the next one.
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));
    QCOMPARE(watcher.messages(), QStringList{});
}

void DataFileViewerTest::markerAndBrokenRecordShowOnlyTheirBytes() {
    GuiSimLine line;
    ModalWatcher watcher;
    sim::ImageRecipe recipe = recipeWithRecords(2);
    recipe.startMarkers = 1;
    recipe.damaged = {{1, 0}};
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(writeDataFile(line, "MARKED.v38", recipe));
    QCOMPARE(rows(&viewer, "recordList"), 3);
    QCOMPARE(cell(&viewer, "recordList", 0, 1), QStringLiteral("000000007F000000"));
    QCOMPARE(cell(&viewer, "recordList", 0, 2), QString());
    QCOMPARE(cell(&viewer, "recordList", 1, 1), QStringLiteral("3481000014033500"));
    QCOMPARE(cell(&viewer, "recordList", 1, 2), QStringLiteral("26/04/01,00:00:00,  3, 20,    53"));
    QCOMPARE(cell(&viewer, "recordList", 2, 1).size(), 16);
    QCOMPARE(cell(&viewer, "recordList", 2, 2), QString());
    // Bytes and fields line up in a fixed-pitch font.
    QAbstractItemModel* records = list(&viewer, "recordList")->model();
    for (int column : {1, 2}) QVERIFY(records->data(records->index(0, column), Qt::FontRole).value<QFont>().fixedPitch());
}

void DataFileViewerTest::problemsAreReportedAndTheListsKeepWhatWasRead() {
    GuiSimLine line;
    ModalWatcher watcher;
    sim::ImageRecipe recipe = recipeWithRecords(3);
    recipe.modelCode = "NEWMODEL-09";       // no reference file of its own
    recipe.endOffset = 0x100000;           // far past the end of the 1024-byte file
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(writeDataFile(line, "ODD.v38", recipe));
    QCOMPARE(watcher.messages(), (QStringList{kNoHeaderReferenceMessage, kRecordReadAbortedMessage}));
    QVERIFY(rows(&viewer, "headerList") > 0);  // from the fallback reference file
    QCOMPARE(rows(&viewer, "recordList"), (1024 - 640) / 8);
    QCOMPARE(pageButtons(&viewer), qMakePair(false, false));
}

void DataFileViewerTest::chooseReplacesTheFileOrLeavesItOnCancel() {
    GuiSimLine line;
    const std::string first = writeDataFile(line, "FIRST.v38", recipeWithRecords(2048));
    writeDataFile(line, "SECOND.v38", recipeWithRecords(5000));
    DataFileViewerDialog viewer(*line.session);
    {
        ModalWatcher quiet;
        viewer.showFile(first);
        button(&viewer, "nextButton")->click();
    }
    QCOMPARE(viewer.paging().lastPage(), 1);
    {
        FileDialogScript cancel(QString::fromStdString(line.dataFolder()), {""});
        button(&viewer, "chooseButton")->click();
        QCOMPARE(cancel.openedIn().size(), 1);
    }
    QCOMPARE(viewer.file(), first);
    QCOMPARE(viewer.paging().page(), 1);
    QCOMPARE(pageButtons(&viewer), qMakePair(true, false));

    FileDialogScript choose(QString::fromStdString(line.dataFolder()), {"SECOND.v38"});
    button(&viewer, "chooseButton")->click();
    QCOMPARE(choose.openedIn(), QStringList{QDir(QString::fromStdString(line.dataFolder())).absolutePath()});
    QCOMPARE(viewer.file(), line.dataFolder() + "/SECOND.v38");
    QCOMPARE(viewer.findChild<QLineEdit*>("fileNameField")->text(), QString::fromStdString(viewer.file()));
    // A new file starts at its first page with its end not yet known.
    QCOMPARE(viewer.paging().page(), 0);
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));
}

void DataFileViewerTest::commandShowsTheChosenDataFile_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("shown");  // empty: no viewer
    QTest::newRow("a data file at once") << QStringList{"KAWABE.v38"} << "KAWABE.v38";
    QTest::newRow("a CSV brings the dialog back") << QStringList{"KAWABE.csv", "UPPER.V38"} << "UPPER.V38";
    QTest::newRow("cancel ends the command") << QStringList{""} << "";
    QTest::newRow("cancel after a CSV") << QStringList{"KAWABE.csv", ""} << "";
}

void DataFileViewerTest::commandShowsTheChosenDataFile() {
    QFETCH(QStringList, answers);
    QFETCH(QString, shown);
    GuiSimLine line;
    writeDataFile(line, "KAWABE.v38", recipeWithRecords(10));
    writeDataFile(line, "UPPER.V38", recipeWithRecords(20));
    line.home.write("../data/KAWABE.csv", "csv\r\n");
    QString viewedFile;
    int viewedRows = -1;
    const QString folder = QString::fromStdString(line.dataFolder());
    FileDialogScript script(folder, answers, [&](DataFileViewerDialog* viewer) {
        viewedFile = viewer->findChild<QLineEdit*>("fileNameField")->text();
        viewedRows = rows(viewer, "recordList");
    });
    QAction* command = line.frame->action(CommandId::kDataFileViewer);
    QVERIFY(command->isEnabled());
    command->trigger();

    QCOMPARE(script.openedIn().size(), static_cast<qsizetype>(answers.size()));
    for (const QString& opened : script.openedIn()) QCOMPARE(opened, QDir(folder).absolutePath());
    if (shown.isEmpty()) {
        QVERIFY(!script.watcher().windows().contains("dataFileViewer"));
        return;
    }
    QCOMPARE(script.watcher().windows().last(), QStringLiteral("dataFileViewer"));
    QCOMPARE(viewedFile, folder + "/" + shown);
    QCOMPARE(viewedRows, shown == "UPPER.V38" ? 20 : 10);
    QCOMPARE(script.watcher().messages(), QStringList{});
}

void DataFileViewerTest::panelPollingStaysOffTheLineUntilTheViewerCloses() {
    GuiSimLine line;
    writeDataFile(line, "KAWABE.v38", recipeWithRecords(10));
    {
        ModalWatcher linkWatcher;
        line.frame->action(CommandId::kAutoLink)->trigger();
    }
    QCOMPARE(line.session->line.panelLinkActive.load(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.currentItem.load(), 1, kPatience);
    const std::size_t before = line.logger.receivedLines().size();

    bool heldAtViewer = false;
    FileDialogScript script(QString::fromStdString(line.dataFolder()), {"KAWABE.v38"},
                            [&](DataFileViewerDialog*) { heldAtViewer = line.logger.guardOpen(); });
    line.frame->action(CommandId::kDataFileViewer)->trigger();
    QCOMPARE(script.watcher().windows().last(), QStringLiteral("dataFileViewer"));
    QVERIFY(heldAtViewer);
    QVERIFY(!line.logger.guardOpen());
    // Around the guard the panel goes on polling the logger's clock; inside it, nothing.
    const auto lines = line.logger.receivedLines();
    QStringList sent;
    for (std::size_t i = before; i < lines.size(); ++i)
        if (lines[i] != "time") sent << QString::fromStdString(lines[i]);
    QCOMPARE(sent, (QStringList{"comtm=0", "comtm=1"}));
    const auto opened = std::find(lines.begin() + static_cast<long>(before), lines.end(), "comtm=0");
    QVERIFY(std::find(opened, lines.end(), "time") > std::find(opened, lines.end(), "comtm=1"));
    QCOMPARE(line.session->line.lineState.load(), LineState::Linked);
}

QTEST_MAIN(DataFileViewerTest)
