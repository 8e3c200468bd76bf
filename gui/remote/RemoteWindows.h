#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QWidget;

namespace fenta21 {
class ReservationScheduler;
class Session;
}

namespace fenta21::gui {

class ReservationNotice;
class ReservationWindow;
class StationListModel;

// The remote-station commands of the main window and the one station list model that all
// their windows show. The main window holds one and gives each command's handler to it.
class RemoteWindows : public QObject {
    Q_OBJECT
public:
    RemoteWindows(Session& session, QWidget* mainWindow);

    // "ｱﾄﾞﾚｽ帳(&A)...": the address book dialog; its "OK" saves adr.csv.
    void addressBookCommand();
    // "モデムの設定(&M)...": on "OK" the modem's speed, port and dial method are saved.
    void modemSettingsCommand();

    // "任意回収(&A)...": the arbitrary collection window; closing it writes any.dat.
    void arbitraryCollectionCommand();
    // "予約回収(&R)...": the reservation window, made when it is not open.
    void reservationCommand();
    // The heartbeat saw a new notice of a reserved collection: the notice window is shown
    // (made when it is not open) with the latest text and raised.
    void showReservationNotice();
    // The program's scheduler, whose running and collected rows the reservation window shows.
    // Given before the scheduler first runs.
    void setScheduler(ReservationScheduler* scheduler);

    ReservationWindow* reservationWindow() const;
    ReservationNotice* reservationNotice() const;

    // The station chooser of the remote link: the chosen place, or nothing.
    std::optional<int> chooseStation();

    StationListModel& stations() const { return *stations_; }

private:
    Session& session_;
    QWidget* mainWindow_;
    StationListModel* stations_;
    ReservationScheduler* scheduler_ = nullptr;
    QPointer<ReservationWindow> reservation_;
    QPointer<ReservationNotice> notice_;
    // The subscriptions to what the scheduler tells while it runs, kept as long as the
    // windows are (type-erased: the event hub's header is beyond what moc reads).
    std::shared_ptr<void> schedulerListeners_;
};

}  // namespace fenta21::gui
