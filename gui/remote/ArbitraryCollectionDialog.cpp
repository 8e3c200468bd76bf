#include "gui/remote/ArbitraryCollectionDialog.h"

#include "core/app/Session.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ArbitraryRun.h"
#include "core/remote/StationList.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/Text.h"
#include "gui/remote/CollectionListModel.h"
#include "gui/remote/StationEditorDialog.h"
#include "gui/remote/StationListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace fenta21::gui {
namespace {

QStringList stationHeadings() {
    QStringList headings;
    for (const ListColumn& column : stationColumns()) headings << qs(column.heading);
    return headings;
}

std::vector<int> stationWidths() {
    std::vector<int> widths;
    for (const ListColumn& column : stationColumns()) widths.push_back(column.widthPixels);
    return widths;
}

}  // namespace

ArbitraryCollectionDialog::ArbitraryCollectionDialog(Session& session, StationListModel& stations, QWidget* parent)
    : QDialog(parent), session_(session), stations_(stations),
      list_(loadArbitraryList(session.homeFile(kArbitraryListFileName))) {
    setObjectName("arbitraryCollectionDialog");
    setWindowTitle(kTitle);

    stationView_ = makeStationView(&stations_, "stationList", this);
    listModel_ = new CollectionListModel(stationHeadings(), this);
    listView_ = makeListView("collectionList", this);
    listView_->setModel(listModel_);
    setColumnWidths(listView_, stationWidths());
    for (QTreeView* view : {stationView_, listView_}) view->setMinimumSize(360, 300);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("アドレス帳の入力/選択"), this));
    left->addWidget(stationView_);
    QPushButton* properties = addWindowButton(left, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), "propertiesButton", this);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    QPushButton* add = addWindowButton(middle, QStringLiteral("追加 ->"), "addButton", this);
    QPushButton* insert = addWindowButton(middle, QStringLiteral("挿入 ->"), "insertButton", this);
    QPushButton* remove = addWindowButton(middle, QStringLiteral("削除 <-"), "removeButton", this);
    QPushButton* clear = addWindowButton(middle, QStringLiteral("全て削除"), "clearButton", this);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("任意回収リスト"), this));
    right->addWidget(listView_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton* run = addWindowButton(bottom, QStringLiteral("任意回収"), "runButton", this);
    QPushButton* finish = addWindowButton(bottom, QStringLiteral("終了"), "finishButton", this);
    // Enter closes the window as "終了" does.
    finish->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addLayout(middle, 0, 1);
    layout->addLayout(right, 0, 2);
    layout->addLayout(bottom, 1, 0, 1, 3);

    connect(stationView_, &QTreeView::clicked, this, &ArbitraryCollectionDialog::stationClicked);
    connect(stationView_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        stationClicked(index);
        editStation();
    });
    connect(properties, &QPushButton::clicked, this, &ArbitraryCollectionDialog::editStation);
    connect(add, &QPushButton::clicked, this, &ArbitraryCollectionDialog::add);
    connect(insert, &QPushButton::clicked, this, &ArbitraryCollectionDialog::insert);
    connect(remove, &QPushButton::clicked, this, &ArbitraryCollectionDialog::remove);
    connect(clear, &QPushButton::clicked, this, &ArbitraryCollectionDialog::clear);
    connect(run, &QPushButton::clicked, this, &ArbitraryCollectionDialog::run);
    connect(finish, &QPushButton::clicked, this, &ArbitraryCollectionDialog::finish);
    connect(&stations_, &QAbstractItemModel::dataChanged, this, &ArbitraryCollectionDialog::showList);
    showList();
}

void ArbitraryCollectionDialog::showList() {
    std::vector<QStringList> rows;
    for (std::size_t row = 0; row < list_.size(); ++row) {
        QStringList texts;
        for (const std::string& text : list_.row(session_.addressBook, static_cast<int>(row))) texts << qs(text);
        rows.push_back(texts);
    }
    int selected = selectedRow(listView_);
    listModel_->setRows(std::move(rows));
    if (selected >= 0 && selected < listModel_->rowCount()) listView_->setCurrentIndex(listModel_->index(selected, 0));
}

void ArbitraryCollectionDialog::stationClicked(const QModelIndex& index) {
    if (index.isValid()) session_.reports.currentStation.store(index.row());
}

void ArbitraryCollectionDialog::editStation() {
    int station = session_.reports.currentStation.load();
    if (!isStationIndex(station)) return;
    if (!StationEditorDialog::edit(session_, station, this)) return;
    storeAddressBook(session_, session_.addressBook);
    stations_.refreshRow(station);
}

void ArbitraryCollectionDialog::add() {
    if (list_.add(session_.addressBook, session_.reports.currentStation.load())) showList();
}

void ArbitraryCollectionDialog::insert() {
    int row = selectedRow(listView_);
    if (row < 0) return;
    if (list_.insertBefore(session_.addressBook, row, session_.reports.currentStation.load())) showList();
}

void ArbitraryCollectionDialog::remove() {
    if (list_.remove(selectedRow(listView_))) showList();
}

void ArbitraryCollectionDialog::clear() {
    list_.clear();
    showList();
}

void ArbitraryCollectionDialog::run() {
    // The stations are collected beside the window, so that their progress windows and
    // messages are served; the window takes no input until the run has ended.
    running_ = true;
    setEnabled(false);
    showRunning(listView_, listModel_, true);
    std::vector<int> stations = list_.stations();
    besideTheWindow([&] {
        runArbitraryList(session_, stations, [this](int row) {
            postTo(listModel_, [row](CollectionListModel* model) { model->setHotRow(row); });
        });
    });
    listModel_->setHotRow(-1);
    showRunning(listView_, listModel_, false);
    setEnabled(true);
    running_ = false;
}

void ArbitraryCollectionDialog::finish() {
    if (running_) return;
    if (storeArbitraryList(session_, list_)) accept();
}

void ArbitraryCollectionDialog::reject() { finish(); }

}  // namespace fenta21::gui
