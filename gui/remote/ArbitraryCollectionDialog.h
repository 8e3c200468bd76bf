#pragma once

#include "core/remote/ArbitraryList.h"
#include "gui/remote/StationAndListPanes.h"

#include <QDialog>

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class StationListModel;

// "任意回収": the station list on the left, the list to collect on the right (read from
// any.dat on opening), and the run that collects its stations top to bottom. "終了", Enter and
// Escape write any.dat and close; when it cannot be written the window stays open with the
// list (the core has said why).
class ArbitraryCollectionDialog : public QDialog {
    Q_OBJECT
public:
    ArbitraryCollectionDialog(Session& session, StationListModel& stations, QWidget* parent);

    static constexpr const char* kTitle = "任意回収";
    const ArbitraryList& list() const { return list_; }

protected:
    void reject() override;

private:
    void add();
    void insert();
    void remove();
    void clear();
    void run();
    void finish();
    void showList();

    Session& session_;
    StationListModel& stations_;
    ArbitraryList list_;
    StationAndListPanes panes_;
    bool running_ = false;
};

}  // namespace fenta21::gui
