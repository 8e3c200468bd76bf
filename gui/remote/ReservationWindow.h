#pragma once

#include "core/remote/ReservationList.h"
#include "gui/remote/StationAndListPanes.h"

#include <QWidget>

class QPushButton;

namespace fenta21 {
class ReservationScheduler;
class Session;
}

namespace fenta21::gui {

class StationListModel;

// "予約回収": the station list, the reservation list (saved to rsv.dat after every change, and
// put into the table the scheduler scans), and the scheduler's start/stop button. Modeless and
// minimisable; closing it leaves the scheduler as it is.
class ReservationWindow : public QWidget {
    Q_OBJECT
public:
    // Without a scheduler the start/stop button is disabled.
    ReservationWindow(Session& session, StationListModel& stations, ReservationScheduler* scheduler,
                      QWidget* parent);

    static constexpr const char* kTitle = "予約回収";
    static constexpr const char* kLogClearQuestion = "予約回収ログファイルを消去します。よろしいですか？";

    // What the scheduler reports, on this window's thread.
    void schedulerRunning(bool running);
    void reservationStarted(int row);
    // The scheduler read the table again from rsv.dat: the list shows it.
    void tableReread();

private:
    void addReservation(bool beforeSelected);
    void editTime();
    void remove();
    void clear();
    void startOrStop();
    void clearLog();
    void showRows();
    void showStartStop();

    Session& session_;
    StationListModel& stations_;
    ReservationScheduler* scheduler_;
    ReservationList list_;
    StationAndListPanes panes_;
    QPushButton* startStop_;
};

}  // namespace fenta21::gui
