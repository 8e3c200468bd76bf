#include "gui/remote/StationListModel.h"

#include "core/stations/AddressBook.h"
#include "core/remote/StationList.h"
#include "gui/base/Text.h"

#include <QHeaderView>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>

namespace fenta21::gui {

StationListModel::StationListModel(const AddressBook& book, QObject* parent)
    : QAbstractTableModel(parent), book_(book) {}

int StationListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kStationCount; }

int StationListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kStationColumnCount);
}

QVariant StationListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return qs(stationRow(book_, index.row())[static_cast<std::size_t>(index.column())]);
}

QVariant StationListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(kStationColumnCount))
        return {};
    return qs(stationColumns()[static_cast<std::size_t>(section)].heading);
}

void StationListModel::refreshRow(int station) {
    if (!isStationIndex(station)) return;
    emit dataChanged(index(station, 0), index(station, static_cast<int>(kStationColumnCount) - 1));
}

void StationListModel::refreshAll() {
    emit dataChanged(index(0, 0), index(kStationCount - 1, static_cast<int>(kStationColumnCount) - 1));
}

QTreeView* makeListView(const QString& objectName, QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setObjectName(objectName);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    return view;
}

void setColumnWidths(QTreeView* view, std::span<const ListColumn> columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) view->setColumnWidth(static_cast<int>(i), columns[i].widthPixels);
}

QTreeView* makeStationView(StationListModel* model, const QString& objectName, QWidget* parent) {
    QTreeView* view = makeListView(objectName, parent);
    view->setModel(model);
    setColumnWidths(view, stationColumns());
    return view;
}

QPushButton* addWindowButton(QBoxLayout* layout, const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

int selectedRow(const QTreeView* view) {
    QItemSelectionModel* selection = view->selectionModel();
    if (selection == nullptr) return -1;
    QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

}  // namespace fenta21::gui
