#include "gui/remote/ArbitraryCollectionDialog.h"

#include "core/session/Session.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ArbitraryRun.h"
#include "core/remote/StationList.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/Text.h"
#include "gui/remote/CollectionListModel.h"
#include "gui/remote/StationListModel.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTreeView>
#include <QHBoxLayout>

namespace fenta21::gui {
ArbitraryCollectionDialog::ArbitraryCollectionDialog(Session& session, StationListModel& stations, QWidget* parent)
    : QDialog(parent), session_(session), stations_(stations),
      list_(loadArbitraryList(session.homeFile(kArbitraryListFileName))),
      panes_(session, stations, stationColumns(), QStringLiteral("任意回収リスト"), "collectionList", "propertiesButton",
             this) {
    setObjectName("arbitraryCollectionDialog");
    setWindowTitle(kTitle);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton* run = addWindowButton(bottom, QStringLiteral("任意回収"), "runButton", this);
    QPushButton* finish = addWindowButton(bottom, QStringLiteral("終了"), "finishButton", this);
    // Enter closes the window as "終了" does.
    finish->setDefault(true);

    auto* layout = new QGridLayout(this);
    panes_.placeIn(layout);
    layout->addLayout(bottom, 1, 0, 1, 3);

    connect(panes_.add, &QPushButton::clicked, this, &ArbitraryCollectionDialog::add);
    connect(panes_.insert, &QPushButton::clicked, this, &ArbitraryCollectionDialog::insert);
    connect(panes_.remove, &QPushButton::clicked, this, &ArbitraryCollectionDialog::remove);
    connect(panes_.clear, &QPushButton::clicked, this, &ArbitraryCollectionDialog::clear);
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
    panes_.showRows(std::move(rows));
}

void ArbitraryCollectionDialog::add() {
    if (list_.add(session_.addressBook, panes_.chosenStation())) showList();
}

void ArbitraryCollectionDialog::insert() {
    int row = selectedRow(panes_.listView);
    if (row < 0) return;
    if (list_.insertBefore(session_.addressBook, row, panes_.chosenStation())) showList();
}

void ArbitraryCollectionDialog::remove() {
    if (list_.remove(selectedRow(panes_.listView))) showList();
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
    showRunning(panes_.listView, panes_.listModel, true);
    std::vector<int> stations = list_.stations();
    besideTheWindow([&] {
        runArbitraryList(session_, stations, [this](int row) {
            postTo(panes_.listModel, [row](CollectionListModel* model) { model->setHotRow(row); });
        });
    });
    panes_.listModel->setHotRow(-1);
    showRunning(panes_.listView, panes_.listModel, false);
    setEnabled(true);
    running_ = false;
}

void ArbitraryCollectionDialog::finish() {
    if (running_) return;
    if (storeArbitraryList(session_, list_)) accept();
}

void ArbitraryCollectionDialog::reject() { finish(); }

}  // namespace fenta21::gui
