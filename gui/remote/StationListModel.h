#pragma once

#include "core/remote/StationList.h"

#include <QAbstractTableModel>

#include <span>

#include <vector>

namespace fenta21 {
class AddressBook;
}

class QBoxLayout;
class QPushButton;
class QTreeView;
class QWidget;

namespace fenta21::gui {

// The address book as the four station lists show it: 100 rows "%03d" and the six fields.
// One model serves every open list, so a row edited in one window reads the same in all.
// The rows are read from the book each time they are painted; refreshRow and refreshAll tell
// the views that entries changed.
class StationListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StationListModel(const AddressBook& book, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void refreshRow(int station);
    // Every row: after a store merged another program's entries in, or the book was read again.
    void refreshAll();

private:
    const AddressBook& book_;
};

// A list in the program's way: whole rows selected one at a time, the selection kept visible,
// no tree decoration; setColumnWidths gives the columns their widths.
QTreeView* makeListView(const QString& objectName, QWidget* parent);
void setColumnWidths(QTreeView* view, std::span<const ListColumn> columns);
// The station list over the shared model, with the address book's column widths.
QTreeView* makeStationView(StationListModel* model, const QString& objectName, QWidget* parent);
// A button of the list windows, added to `layout`; Enter never presses it by default.
QPushButton* addWindowButton(QBoxLayout* layout, const QString& text, const QString& objectName, QWidget* parent);
// The selected row of a list, or -1.
int selectedRow(const QTreeView* view);

}  // namespace fenta21::gui
