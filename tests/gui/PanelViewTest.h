#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class PanelViewTest : public QObject {
    Q_OBJECT
private slots:
    void bannerScrollsInAndAKeyLeavesIt_data();
    void bannerScrollsInAndAKeyLeavesIt();
    void clickActsOnlyInsideAKeyArea_data();
    void clickActsOnlyInsideAKeyArea();
    void heldKeyRepeatsUntilLetGo();
    void heldKeyStopsWhenTheFocusLeavesThePanel();
    void enterOnIntervalWritesTheChosenCode();
    void rtcDialogRefusesSixtyFourAndStaysOpen();
    void pcClockButtonSetsTheLoggersClockAndEndsAsCancel();
    void modeWrittenAndEnteredAgainWritesTheChannelItShows();
    void collectionMenuStoresADataFileOverThePanelsLink();
    void idleLimitEndsTheSessionAndThePanelGoesDark();
    void f4EndsTheSessionAndItsRefresherTakesTheLineDown();
    void silentLoggerEndsTheSessionWithTheTimeoutMessage();
    void closingTheWindowReleasesTheLine();
};
