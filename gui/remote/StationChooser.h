#pragma once

#include <QDialog>

#include <optional>

class QTreeView;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class StationListModel;

// "ｱﾄﾞﾚｽ帳の選択": picks a station for the remote link. "ﾌﾟﾛﾊﾟﾃｨ" edits the selected entry and
// saves adr.csv at once; "OK" without a selection is the same as "ｷｬﾝｾﾙ".
class StationChooser : public QDialog {
    Q_OBJECT
public:
    StationChooser(Session& session, StationListModel& stations, QWidget* parent);

    // The chosen place (also made the current station), or nothing when cancelled.
    static std::optional<int> choose(Session& session, StationListModel& stations, QWidget* parent);

    static constexpr const char* kTitle = "ｱﾄﾞﾚｽ帳の選択";
    int chosen() const { return chosen_; }

private:
    void properties();
    void confirm();

    Session& session_;
    StationListModel& stations_;
    QTreeView* list_;
    int chosen_ = -1;
};

}  // namespace fenta21::gui
