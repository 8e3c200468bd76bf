#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class ReservationWindowTest : public QObject {
    Q_OBJECT
private slots:
    void reservationForTheNextMinuteRunsAndItsReportRaisesTheNotice();
    void editingARowsTimeKeepsItsPlaceAndStation();
    void logClearAnsweredNoKeepsTheLog();
    void schedulerStartedInTheWindowIsOnAgainAfterARestart();
    void anotherProgramsSchedulerIsNamedAndNoSecondOneStarts();
    void aReservationAnotherProgramStoresShowsInTheOpenWindow();
};
