#include "gui/datafile/ViewerListModels.h"

#include "gui/base/FixedPitchFont.h"
#include "gui/base/Text.h"

#include <span>

namespace fenta21::gui {
namespace {

QVariant heading(std::span<const ListColumn> columns, int section, Qt::Orientation orientation, int role) {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns.size()))
        return {};
    return qs(columns[static_cast<std::size_t>(section)].heading);
}

bool isCell(const QModelIndex& index, std::size_t rows, std::size_t columns) {
    return index.isValid() && index.row() >= 0 && static_cast<std::size_t>(index.row()) < rows && index.column() >= 0 &&
           static_cast<std::size_t>(index.column()) < columns;
}

}  // namespace

void HeaderListModel::show(std::vector<HeaderRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int HeaderListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HeaderListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kHeaderListColumns.size());
}

QVariant HeaderListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !isCell(index, rows_.size(), kHeaderListColumns.size())) return {};
    const HeaderRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0: return qs(row.offsetText);
        case 1: return qs(row.label);
        default: return qs(row.value);
    }
}

QVariant HeaderListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return heading(kHeaderListColumns, section, orientation, role);
}

RecordListModel::RecordListModel(QObject* parent) : QAbstractTableModel(parent), fixedPitch_(fixedPitchFont()) {}

void RecordListModel::show(RecordPage page) {
    beginResetModel();
    page_ = std::move(page);
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(page_.rows.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kRecordListColumns.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (!isCell(index, page_.rows.size(), kRecordListColumns.size())) return {};
    if (role == Qt::FontRole && index.column() > 0) return fixedPitch_;
    if (role != Qt::DisplayRole) return {};
    const RecordRow& row = page_.rows[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case 0: return qs(row.offsetText);
        case 1: return qs(row.hex);
        default: return qs(row.decoded);
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return heading(kRecordListColumns, section, orientation, role);
}

}  // namespace fenta21::gui
