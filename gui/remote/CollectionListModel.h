#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

class QTreeView;

namespace fenta21::gui {

// The right-hand list of the arbitrary and the reservation windows: rows of texts that the
// window rebuilds from the core's list after each change. While a collection walks the list
// it is pale green and the row being collected is the hot one.
class CollectionListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CollectionListModel(QStringList headings, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setRows(std::vector<QStringList> rows);
    const std::vector<QStringList>& rows() const { return rows_; }

    void setRunning(bool running);
    bool running() const { return running_; }
    // -1: none.
    void setHotRow(int row);
    int hotRow() const { return hotRow_; }

    // The colour of a list while its collection runs, and at rest.
    static constexpr unsigned kRunningColour = 0xF0FFF0;
    static constexpr unsigned kRestingColour = 0xFFFFFF;

private:
    QStringList headings_;
    std::vector<QStringList> rows_;
    bool running_ = false;
    int hotRow_ = -1;
};

// Colours the list and the view's empty part together, as the list control did.
void showRunning(QTreeView* view, CollectionListModel* model, bool running);

}  // namespace fenta21::gui
