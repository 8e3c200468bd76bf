#pragma once

#include <QDialog>

class QTreeView;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class StationListModel;

// "ｱﾄﾞﾚｽ帳の設定": the station list with "設定" (also a double click or Enter) opening the entry editor,
// "削除" emptying the entry, "OK" saving adr.csv. "ｷｬﾝｾﾙ" saves nothing, but what was edited
// is already in the book in memory and stays in force; the next save writes it.
class AddressBookDialog : public QDialog {
    Q_OBJECT
public:
    AddressBookDialog(Session& session, StationListModel& stations, QWidget* parent);

    static constexpr const char* kTitle = "ｱﾄﾞﾚｽ帳の設定";
    QTreeView* list() const { return list_; }

private:
    void editSelected();
    void eraseSelected();
    void confirm();

    Session& session_;
    StationListModel& stations_;
    QTreeView* list_;
};

}  // namespace fenta21::gui
