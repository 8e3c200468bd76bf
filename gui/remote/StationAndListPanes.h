#pragma once

#include "core/remote/StationList.h"

#include <QStringList>

#include <span>
#include <vector>

class QGridLayout;
class QPushButton;
class QTreeView;
class QVBoxLayout;
class QWidget;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class CollectionListModel;
class StationListModel;

// The panes "任意回収" and "予約回収" share: the address book on the left with its "ﾌﾟﾛﾊﾟﾃｨ"
// (a click chooses the station, a double click or the button edits it and saves adr.csv at
// once), "追加 ->", "挿入 ->", "削除 <-" and "全て削除" in the middle, and the window's own list
// on the right under `listCaption`. The window connects the middle buttons to its list.
class StationAndListPanes {
public:
    StationAndListPanes(Session& session, StationListModel& stations, std::span<const ListColumn> listColumns,
                        const QString& listCaption, const QString& listName, const QString& stationPropertiesName,
                        QWidget* window);

    // The panes in row 0 of `layout`, across its first three columns.
    void placeIn(QGridLayout* layout) const;
    // Shows new rows in the list, keeping the selected row and the hot row where they still are.
    void showRows(std::vector<QStringList> rows);
    // The station last clicked on the left, or -1. It is the window's own: the station word
    // that tags the logs belongs to the collection running, which a click must not change.
    int chosenStation() const { return chosen_; }

    QTreeView* stationView;
    QTreeView* listView;
    CollectionListModel* listModel;
    QVBoxLayout* right;  // the window may add buttons under its list
    QPushButton* add;
    QPushButton* insert;
    QPushButton* remove;
    QPushButton* clear;

private:
    void editStation();

    Session& session_;
    int chosen_ = -1;
    StationListModel& stations_;
    QWidget* window_;
    QVBoxLayout* left_;
    QVBoxLayout* middle_;
};

// The headings of a list's columns.
QStringList columnHeadings(std::span<const ListColumn> columns);

}  // namespace fenta21::gui
