#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class MonitorBarTest : public QObject {
    Q_OBJECT
private slots:
    void openingAndClosingResizeTheWindowAndRenameTheButton();
    void xKeyOpensAndClosesTheMonitor();
    void sentCarriageReturnAndReceivedKatakanaByte();
    void thirtyFourthByteCompletesABlock();
    void listKeepsFourThousandLinesAndFollowsTheLast();
    void anEarlierSelectedLineStaysSelected();
    void closingWritesComLog();
    void heartbeatFeedsTheOpenMonitorOnly();
};
