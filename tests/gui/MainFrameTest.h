#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void windowHasItsTitleAndFixedSize();
    void menusHoldEveryItemWithItsCommand_data();
    void menusHoldEveryItemWithItsCommand();
    void toolbarHasNineDrawnButtons();
    void everyCommandHasOneNamedAction();
    void actionsFollowTheLineState_data();
    void actionsFollowTheLineState();
    void f1CollectsOnceWithoutAMessage_data();
    void f1CollectsOnceWithoutAMessage();
    void failedSearchReportsTheLinkErrorAndReturnsToIdle();
    void autoLinkThenDisconnect();
    void disconnectTakesDownALinkNoPanelHolds();
    void f3WhileLinkIsBeingSetUpDoesNothing();
    void f4WhileIdleDoesNothing();
    void altEExitsAtTheFirstPress_data();
    void altEExitsAtTheFirstPress();
};
