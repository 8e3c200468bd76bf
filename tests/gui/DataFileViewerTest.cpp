// "バイナリデータ表示" over real data files: pages of 2048 records and their buttons, the rows
// of a start marker and a broken record, "選択", and the main window's command with its file
// dialog and the panel's line guard.
#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "gui/datafile/DataFileViewerDialog.h"
#include "sim/image/DataImage.h"
#include "tests/gui/DataFileViewerTest.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QLineEdit>
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

// `records` records one second apart on channel 3, kind 20, values 53, 54, ...
std::string writeDataFile(GuiSimLine& line, const std::string& name, int records, int startMarkers = 0,
                          std::vector<sim::RecordSlot> damaged = {}) {
    sim::ImageRecipe recipe;
    recipe.instants = records;
    recipe.intervalSeconds = 1;
    recipe.channels = {{3, 20, 53, 1}};
    recipe.startMarkers = startMarkers;
    recipe.damaged = std::move(damaged);
    line.home.write("../data/" + name, sim::buildDataImage(recipe));
    return line.dataFolder() + "/" + name;
}

QPushButton* button(QWidget* viewer, const char* name) { return viewer->findChild<QPushButton*>(name); }
QTreeView* list(QWidget* viewer, const char* name) { return viewer->findChild<QTreeView*>(name); }
int rows(QWidget* viewer, const char* name) { return list(viewer, name)->model()->rowCount(); }
QVariant cell(QWidget* viewer, const char* name, int row, int column, int role = Qt::DisplayRole) {
    QAbstractItemModel* model = list(viewer, name)->model();
    return model->data(model->index(row, column), role);
}
QString record(QWidget* viewer, int row, int column) { return cell(viewer, "recordList", row, column).toString(); }
// Whether "<<前項" and "次項>>" may be pressed.
QPair<bool, bool> pageButtons(QWidget* viewer) {
    return {button(viewer, "previousButton")->isEnabled(), button(viewer, "nextButton")->isEnabled()};
}

// Answers the file dialogs with the given names in the data folder in turn (an empty name
// cancels), keeps the folder each opened in, and hands the viewer to `atViewer` before closing it.
class FileDialogScript {
public:
    FileDialogScript(const GuiSimLine& line, QStringList names, std::function<void(QWidget*)> atViewer = {})
        : folder_(QString::fromStdString(line.dataFolder())), names_(std::move(names)), atViewer_(std::move(atViewer)),
          watcher_([this](QWidget* window) { answer(window); }) {}

    const ModalWatcher& watcher() const { return watcher_; }
    QStringList openedIn() const { return openedIn_; }

private:
    void answer(QWidget* window) {
        if (auto* files = qobject_cast<QFileDialog*>(window)) {
            openedIn_ << files->directory().absolutePath();
            QString name = names_.isEmpty() ? QString() : names_.takeFirst();
            if (!name.isEmpty()) {
                // The dialog leaves its name field alone while that field has the focus.
                if (QWidget* focused = files->focusWidget()) focused->clearFocus();
                files->selectFile(folder_ + "/" + name);
            }
            QMetaObject::invokeMethod(files, name.isEmpty() ? &QDialog::reject : &QDialog::accept, Qt::QueuedConnection);
        } else if (window->objectName() == "dataFileViewer") {
            if (atViewer_) atViewer_(window);
            QMetaObject::invokeMethod(button(window, "closeButton"), &QPushButton::click, Qt::QueuedConnection);
        } else ModalWatcher::confirmMessageBox(window);
    }

    QString folder_;
    QStringList names_;
    std::function<void(QWidget*)> atViewer_;
    QStringList openedIn_;
    ModalWatcher watcher_;
};

}  // namespace

void DataFileViewerTest::shortFileShowsAllItsRecordsOnOnePage() {
    GuiSimLine line;
    ModalWatcher watcher;
    const std::string file = writeDataFile(line, "KAWABE.v38", 10);
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(file);
    QCOMPARE(viewer.windowTitle(), QStringLiteral("バイナリデータ表示"));
    auto* name = viewer.findChild<QLineEdit*>("fileNameField");
    QCOMPARE(name->text(), QString::fromStdString(file));
    QVERIFY(name->isReadOnly());
    QCOMPARE(rows(&viewer, "recordList"), 10);
    QCOMPARE(record(&viewer, 9, 0), QStringLiteral("0002C8"));
    QCOMPARE(record(&viewer, 9, 2), QStringLiteral("26/04/01,00:00:09,  3, 20,    62"));
    QCOMPARE(pageButtons(&viewer), qMakePair(false, false));
    // The header items from offset 0 as the model's reference file has them: the third is
    // the end offset, just past the tenth record.
    QCOMPARE(cell(&viewer, "headerList", 2, 0).toString(), QStringLiteral("000002"));
    QCOMPARE(cell(&viewer, "headerList", 2, 2).toString(), QString::number(640 + 10 * 8));
    QCOMPARE(watcher.messages(), QStringList{});

    // The program's headings, and its widths as the least a column gets.
    const QList<std::tuple<const char*, QStringList, QList<int>>> columns{
        {"headerList", {"ｱﾄﾞﾚｽ", "内容", "値"}, {48, 108, 204}},
        {"recordList", {"ｱﾄﾞﾚｽ", "１６進表示", "変換表示"}, {48, 204, 114}}};
    for (const auto& [listName, headings, widths] : columns) {
        QTreeView* view = list(&viewer, listName);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), headings[column]);
            QVERIFY(view->columnWidth(column) >= widths[column]);
        }
    }
}

void DataFileViewerTest::fileEndingAtAPageBoundaryEndsOnAnEmptyPage() {
    GuiSimLine line;
    ModalWatcher watcher;
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(writeDataFile(line, "FULL.v38", 2048));
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));
    button(&viewer, "nextButton")->click();
    QCOMPARE(rows(&viewer, "recordList"), 0);
    QCOMPARE(viewer.paging().lastPage(), 1);
    QCOMPARE(pageButtons(&viewer), qMakePair(true, false));
    button(&viewer, "previousButton")->click();
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(record(&viewer, 2047, 0), QStringLiteral("004278"));  // 640 + 2047 x 8
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));         // the known last page is the next
}

void DataFileViewerTest::markerAndBrokenRecordShowOnlyTheirBytes() {
    GuiSimLine line;
    ModalWatcher watcher;
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(writeDataFile(line, "MARKED.v38", 2, 1, {{1, 0}}));
    QCOMPARE(rows(&viewer, "recordList"), 3);
    const QStringList expected{"000000007F000000", "", "3481000014033500", "26/04/01,00:00:00,  3, 20,    53"};
    QCOMPARE((QStringList{record(&viewer, 0, 1), record(&viewer, 0, 2), record(&viewer, 1, 1), record(&viewer, 1, 2)}),
             expected);
    QCOMPARE(record(&viewer, 2, 1).size(), 16);  // the damaged record
    QCOMPARE(record(&viewer, 2, 2), QString());
    for (int column : {1, 2}) QVERIFY(cell(&viewer, "recordList", 0, column, Qt::FontRole).value<QFont>().fixedPitch());
}

void DataFileViewerTest::chooseReplacesTheFileOrLeavesItOnCancel() {
    GuiSimLine line;
    const std::string first = writeDataFile(line, "FIRST.v38", 2048);
    writeDataFile(line, "SECOND.v38", 5000);
    DataFileViewerDialog viewer(*line.session);
    viewer.showFile(first);
    button(&viewer, "nextButton")->click();  // the empty last page
    {
        FileDialogScript cancel(line, {""});
        button(&viewer, "chooseButton")->click();
        QCOMPARE(cancel.openedIn(), QStringList{QDir(QString::fromStdString(line.dataFolder())).absolutePath()});
    }
    QCOMPARE(viewer.file(), first);
    QCOMPARE(pageButtons(&viewer), qMakePair(true, false));

    FileDialogScript choose(line, {"SECOND.v38"});
    button(&viewer, "chooseButton")->click();
    QCOMPARE(viewer.findChild<QLineEdit*>("fileNameField")->text(),
             QString::fromStdString(line.dataFolder() + "/SECOND.v38"));
    // A new file starts at its first page, its end not yet known.
    QCOMPARE(rows(&viewer, "recordList"), 2048);
    QCOMPARE(pageButtons(&viewer), qMakePair(false, true));
}

void DataFileViewerTest::commandShowsTheChosenDataFile_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("shown");  // empty: no viewer
    QTest::newRow("a CSV brings the dialog back") << QStringList{"KAWABE.csv", "UPPER.V38"} << "UPPER.V38";
    QTest::newRow("cancel ends the command") << QStringList{""} << "";
}

void DataFileViewerTest::commandShowsTheChosenDataFile() {
    QFETCH(QStringList, answers);
    QFETCH(QString, shown);
    GuiSimLine line;
    writeDataFile(line, "UPPER.V38", 20);
    line.home.write("../data/KAWABE.csv", "csv\r\n");
    QString viewed;
    FileDialogScript script(line, answers, [&](QWidget* viewer) { viewed = record(viewer, 19, 0); });
    QAction* command = line.frame->action(CommandId::kDataFileViewer);
    QVERIFY(command->isEnabled());
    command->trigger();
    const QString folder = QDir(QString::fromStdString(line.dataFolder())).absolutePath();
    QCOMPARE(script.openedIn(), QStringList(answers.size(), folder));
    QCOMPARE(script.watcher().windows().contains("dataFileViewer"), !shown.isEmpty());
    QCOMPARE(viewed, shown.isEmpty() ? QString() : QStringLiteral("000318"));  // its twentieth record
}

void DataFileViewerTest::panelPollingStaysOffTheLineUntilTheViewerCloses() {
    GuiSimLine line;
    writeDataFile(line, "KAWABE.v38", 10);
    {
        ModalWatcher linkWatcher;
        line.frame->action(CommandId::kAutoLink)->trigger();
    }
    QTRY_COMPARE_WITH_TIMEOUT(line.session->panel.currentItem.load(), 1, kPatience);
    const std::size_t before = line.logger.receivedLines().size();
    bool heldAtViewer = false;
    FileDialogScript script(line, {"KAWABE.v38"}, [&](QWidget*) { heldAtViewer = line.logger.guardOpen(); });
    line.frame->action(CommandId::kDataFileViewer)->trigger();
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
}

QTEST_MAIN(DataFileViewerTest)
