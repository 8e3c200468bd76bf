#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class LaunchersTest : public QObject {
    Q_OBJECT
private slots:
    void optionListShowsTheProgramsFoundAtStartUp();
    void onlyOkWithASelectedEntryIsAChoice_data();
    void onlyOkWithASelectedEntryIsAChoice();
    void chosenEntryRunsAfterTheListCloses_data();
    void chosenEntryRunsAfterTheListCloses();
    void otherEntryStartsItsProgramInTheHomeFolder();
    void aboutBoxShowsTheFixedDateAndTheProgramFileTime_data();
    void aboutBoxShowsTheFixedDateAndTheProgramFileTime();
    void webSiteAndManualGoThroughTheDesktop_data();
    void webSiteAndManualGoThroughTheDesktop();
};
