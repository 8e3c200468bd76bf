#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class DataFileWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void overwriteAllConvertsTheLaterFilesWithoutAsking();
    void noLeavesAnExistingCsvUntouched();
    void cancellingTheCsvDialogIsReported();
    void displayMakesTheMissingCsvAndShowsIt();
};
