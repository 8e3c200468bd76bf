#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class DataFileViewerTest : public QObject {
    Q_OBJECT
private slots:
    void shortFileShowsAllItsRecordsOnOnePage();
    void fileEndingAtAPageBoundaryEndsOnAnEmptyPage();
    void markerAndBrokenRecordShowOnlyTheirBytes();
    void chooseReplacesTheFileOrLeavesItOnCancel();
    void commandShowsTheChosenDataFile_data();
    void commandShowsTheChosenDataFile();
    void panelPollingStaysOffTheLineUntilTheViewerCloses();
};
