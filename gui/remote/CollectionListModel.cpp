#include "gui/remote/CollectionListModel.h"

#include <QColor>
#include <QFont>
#include <QTreeView>

namespace fenta21::gui {

CollectionListModel::CollectionListModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), headings_(std::move(headings)) {}

int CollectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CollectionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant CollectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const QStringList& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole: return index.column() < row.size() ? row[index.column()] : QString();
        case Qt::BackgroundRole: return QColor(QRgb(running_ ? kRunningColour : kRestingColour));
        case Qt::FontRole:
            if (index.row() == hotRow_) {
                // The hot row is underlined, as a tracked list item is.
                QFont font;
                font.setUnderline(true);
                return font;
            }
            return {};
        case Qt::ForegroundRole: return index.row() == hotRow_ ? QColor(Qt::blue) : QVariant();
        default: return {};
    }
}

QVariant CollectionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= headings_.size())
        return {};
    return headings_[section];
}

void CollectionListModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    if (hotRow_ >= rowCount()) hotRow_ = -1;
    endResetModel();
}

void CollectionListModel::setRunning(bool running) {
    running_ = running;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CollectionListModel::setHotRow(int row) {
    hotRow_ = row >= 0 && row < rowCount() ? row : -1;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void showRunning(QTreeView* view, CollectionListModel* model, bool running) {
    model->setRunning(running);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base,
                     QColor(QRgb(running ? CollectionListModel::kRunningColour : CollectionListModel::kRestingColour)));
    view->setPalette(palette);
    view->viewport()->update();
}

}  // namespace fenta21::gui
