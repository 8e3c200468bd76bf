#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class SettingsDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void listShowsItsEntriesAndPreselection_data();
    void listShowsItsEntriesAndPreselection();
    void listCancelledHandsBackNothing();
    void captionsAreShownWhole();
    void editShowsLabelsFieldsAndUnitAndHandsBackTheEntries();
    void refusedEntriesKeepTheDialogOpenWithTheMessage();
    void workersRequestOpensTheDialogOnTheWindowsThreadAndWaits();
    void ownButtonActsAwayFromTheWindowsThreadAndEndsAsCancel();
    void closingProgramAnswersAWorkerWithoutAWindow();
};
