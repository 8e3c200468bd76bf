#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class KeyboardModeDialogTest : public QObject {
    Q_OBJECT
private slots:
    void offersThePresetCommandsInOrder();
    void clearInCapitalsIsAskedFirst();
    void typedLinesGoOutAsTypedAndStaySelected();
    void enterSendsOnceTheListFollowsUnlessAnEarlierLineIsSelectedAndEscapeCloses();
    void overAPanelLinkItHoldsTheLineGuardAndLeavesTheLinkUp();
    void portThatCannotBeOpenedShowsNoWindow();
};
