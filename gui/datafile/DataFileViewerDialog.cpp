#include "gui/datafile/DataFileViewerDialog.h"

#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/app/DataFileDisplay.h"
#include "core/datafile/DataFileViewer.h"
#include "gui/base/Text.h"
#include "gui/datafile/ViewerListModels.h"
#include "gui/remote/StationListModel.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>

#include <algorithm>
#include <span>

namespace fenta21::gui {
namespace {

// Room for a screenful of rows in either list.
constexpr int kListHeight = 400;

QTreeView* makeViewerList(QAbstractItemModel* model, std::span<const ListColumn> columns, const QString& objectName,
                          QWidget* parent) {
    QTreeView* view = makeListView(objectName, parent);
    view->setModel(model);
    setColumnWidths(view, columns);
    return view;
}

// The widths the program has always given its columns are where they start; a column whose
// texts need more in this system's fonts is widened to them, up to a limit that keeps a long
// reference file label from pushing the window off the screen.
void fitColumns(QTreeView* view, std::span<const ListColumn> columns) {
    constexpr int kWidestColumn = 320;
    int total = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        const int needed = std::max(static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(column),
                                    view->header()->sectionSizeHint(column));
        const int width = std::max(columns[i].widthPixels, std::min(needed, kWidestColumn));
        view->setColumnWidth(column, width);
        total += width;
    }
    view->setMinimumWidth(total + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth());
}

}  // namespace

DataFileViewerDialog::DataFileViewerDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName("dataFileViewer");
    setWindowTitle(kTitle);

    fileName_ = new QLineEdit(this);
    fileName_->setObjectName("fileNameField");
    fileName_->setReadOnly(true);
    headerModel_ = new HeaderListModel(this);
    recordModel_ = new RecordListModel(this);
    headerView_ = makeViewerList(headerModel_, kHeaderListColumns, "headerList", this);
    recordView_ = makeViewerList(recordModel_, kRecordListColumns, "recordList", this);
    for (QTreeView* list : {headerView_, recordView_}) list->setMinimumHeight(kListHeight);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("ファイル名:"), this));
    nameRow->addWidget(fileName_, 1);
    QPushButton* choose = addWindowButton(nameRow, QStringLiteral("選択"), "chooseButton", this);
    auto* lists = new QHBoxLayout;
    lists->addWidget(headerView_);
    lists->addWidget(recordView_);
    auto* buttons = new QHBoxLayout;
    previous_ = addWindowButton(buttons, QStringLiteral("<<前項"), "previousButton", this);
    next_ = addWindowButton(buttons, QStringLiteral("次項>>"), "nextButton", this);
    buttons->addStretch(1);
    QPushButton* close = addWindowButton(buttons, QStringLiteral("終了"), "closeButton", this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &DataFileViewerDialog::chooseFile);
    connect(previous_, &QPushButton::clicked, this, &DataFileViewerDialog::previousPage);
    connect(next_, &QPushButton::clicked, this, &DataFileViewerDialog::nextPage);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    updateButtons();
}

void DataFileViewerDialog::showFile(const std::string& dataFile) {
    file_ = dataFile;
    fileName_->setText(qs(dataFile));
    headerModel_->show(viewerHeaderRows(session_, dataFile));
    paging_.reset();
    showPage();
    fitColumns(headerView_, kHeaderListColumns);
    fitColumns(recordView_, kRecordListColumns);
}

void DataFileViewerDialog::chooseFile() {
    std::string chosen =
        chooseViewerFile(session_.host, resolveDataFolder(session_.homeFolder(), session_.settings.dataFolder));
    // Cancelling leaves the file shown as it was.
    if (!chosen.empty()) showFile(chosen);
}

void DataFileViewerDialog::previousPage() {
    paging_.back();
    showPage();
}

void DataFileViewerDialog::nextPage() {
    paging_.forward();
    showPage();
}

void DataFileViewerDialog::showPage() {
    recordModel_->show(viewerRecordPage(session_, file_, paging_.page()));
    recordView_->scrollToTop();
    // A page that reaches the end of the records makes itself the last one.
    paging_.noteShown(recordModel_->page());
    updateButtons();
}

void DataFileViewerDialog::updateButtons() {
    // Before any file is shown there is no page to turn to.
    previous_->setEnabled(!file_.empty() && paging_.canGoBack());
    next_->setEnabled(!file_.empty() && paging_.canGoForward());
}

}  // namespace fenta21::gui
