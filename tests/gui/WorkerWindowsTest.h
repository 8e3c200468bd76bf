#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class WorkerWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cancelInTheConnectionWindowEndsTheSearch();
    void f1OverTheUsersManualLinkCollectsAndLeavesItLinked();
    void theLinksNoticeIsPaintedWhileTheWindowGoesOn();
    void reservedCollectionRunsWhileTheUsersDialogIsOpen();
    void closingTheMainWindowDuringAReservedCollectionReleasesThePort();
};
