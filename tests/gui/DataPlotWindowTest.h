#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class DataPlotWindowTest : public QObject {
    Q_OBJECT
private slots:
    void droppedGoldenFileShowsTracesAxesAndGap();
    void mouseAndKeysChangeTheRange_data();
    void mouseAndKeysChangeTheRange();
    void crosshairReadsTheRecordsOfTheCsv_data();
    void crosshairReadsTheRecordsOfTheCsv();
    void sideTableAgreesWithTheCsvOverTheRange();
    void exportsTheVisibleRange();
    void stationOfTheStoreOpensThroughItsDialog();
    void stationOverviewListsWorstFirstAndPlotsADoubleClickedStation();
};
