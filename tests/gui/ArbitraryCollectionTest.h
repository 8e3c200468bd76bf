#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class ArbitraryCollectionTest : public QObject {
    Q_OBJECT
private slots:
    void listIsBuiltWithTheButtonsAndWrittenOnFinish();
    void escapeWritesTheListToo();
    void windowLargerThanTheScreenFitsItAndScrolls();
    void listThatCannotBeWrittenKeepsTheWindowOpen();
    void runCollectsTheRowsInOrderMarkingEachOne();
    void cancelledStationEndsTheRun();
};
