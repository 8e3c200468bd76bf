#include "gui/remote/StationAndListPanes.h"

#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
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

QStringList columnHeadings(std::span<const ListColumn> columns) {
    QStringList headings;
    for (const ListColumn& column : columns) headings << qs(column.heading);
    return headings;
}

StationAndListPanes::StationAndListPanes(Session& session, StationListModel& stations,
                                         std::span<const ListColumn> listColumns, const QString& listCaption,
                                         const QString& listName, const QString& stationPropertiesName,
                                         QWidget* window)
    : session_(session), stations_(stations), window_(window) {
    stationView = makeStationView(&stations_, "stationList", window);
    listModel = new CollectionListModel(columnHeadings(listColumns), window);
    listView = makeListView(listName, window);
    listView->setModel(listModel);
    setColumnWidths(listView, listColumns);
    for (QTreeView* view : {stationView, listView}) view->setMinimumSize(360, 300);

    left_ = new QVBoxLayout;
    left_->addWidget(new QLabel(QStringLiteral("アドレス帳の入力/選択"), window));
    left_->addWidget(stationView);
    QPushButton* properties = addWindowButton(left_, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), stationPropertiesName, window);
    middle_ = new QVBoxLayout;
    middle_->addStretch();
    add = addWindowButton(middle_, QStringLiteral("追加 ->"), "addButton", window);
    insert = addWindowButton(middle_, QStringLiteral("挿入 ->"), "insertButton", window);
    remove = addWindowButton(middle_, QStringLiteral("削除 <-"), "removeButton", window);
    clear = addWindowButton(middle_, QStringLiteral("全て削除"), "clearButton", window);
    middle_->addStretch();
    right = new QVBoxLayout;
    right->addWidget(new QLabel(listCaption, window));
    right->addWidget(listView);

    QObject::connect(stationView, &QTreeView::clicked, window, [this](const QModelIndex& index) {
        if (index.isValid()) chosen_ = index.row();
    });
    QObject::connect(stationView, &QTreeView::doubleClicked, window, [this](const QModelIndex& index) {
        if (index.isValid()) chosen_ = index.row();
        editStation();
    });
    QObject::connect(properties, &QPushButton::clicked, window, [this] { editStation(); });
}

void StationAndListPanes::placeIn(QGridLayout* layout) const {
    layout->addLayout(left_, 0, 0);
    layout->addLayout(middle_, 0, 1);
    layout->addLayout(right, 0, 2);
}

void StationAndListPanes::editStation() {
    int station = chosenStation();
    if (!isStationIndex(station)) return;
    if (!StationEditorDialog::edit(session_, station, window_)) return;
    // The store also takes in the entries another program changed meanwhile.
    storeAddressBook(session_, session_.addressBook);
    stations_.refreshAll();
}

void StationAndListPanes::showRows(std::vector<QStringList> rows) {
    int selected = selectedRow(listView);
    int hot = listModel->hotRow();
    listModel->setRows(std::move(rows));
    listModel->setHotRow(hot);
    if (selected >= 0 && selected < listModel->rowCount()) listView->setCurrentIndex(listModel->index(selected, 0));
}

}  // namespace fenta21::gui
