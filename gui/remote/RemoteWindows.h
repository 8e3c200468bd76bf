#pragma once

#include <QObject>
#include <QPointer>

#include <optional>

class QWidget;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

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
    // The station chooser of the remote link: the chosen place, or nothing.
    std::optional<int> chooseStation();

    StationListModel& stations() const { return *stations_; }

private:
    Session& session_;
    QWidget* mainWindow_;
    StationListModel* stations_;
};

}  // namespace fenta21::gui
