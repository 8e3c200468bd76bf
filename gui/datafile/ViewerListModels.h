#pragma once

#include "core/datafile/HeaderListing.h"
#include "core/datafile/RecordPage.h"
#include "core/remote/StationList.h"

#include <QAbstractTableModel>
#include <QFont>

#include <array>
#include <vector>

namespace fenta21::gui {

// The viewer's two lists, with the headings and widths the program has always shown.
inline constexpr std::array<ListColumn, 3> kHeaderListColumns{{{"ｱﾄﾞﾚｽ", 48}, {"内容", 108}, {"値", 204}}};
inline constexpr std::array<ListColumn, 3> kRecordListColumns{{{"ｱﾄﾞﾚｽ", 48}, {"１６進表示", 204}, {"変換表示", 114}}};

// The header items of the file shown: offset, label and value.
class HeaderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit HeaderListModel(QObject* parent) : QAbstractTableModel(parent) {}

    void show(std::vector<HeaderRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<HeaderRow> rows_;
};

// One page of records: offset, the eight bytes in hex and the decoded fields. The page is
// read once and painted from the core's rows, so a full page of 2048 rows appears at once.
// The bytes and the fields are drawn in a fixed-pitch font, so that the columns line up.
class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordListModel(QObject* parent);

    void show(RecordPage page);
    const RecordPage& page() const { return page_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RecordPage page_;
    QFont fixedPitch_;
};

}  // namespace fenta21::gui
