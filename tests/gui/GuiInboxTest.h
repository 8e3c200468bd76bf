#pragma once

#include <QObject>

class GuiInboxTest : public QObject {
    Q_OBJECT
private slots:
    void callFromAWorkerRunsOnTheGuiThreadBeforeItReturns();
    void callsAreServedInsideANestedLoopOfAnotherCall();
    void closingReleasesACallerWhoseWorkNeverRan();
    void postedWorkIsDroppedWithItsReceiverOrAfterClosing();
};
