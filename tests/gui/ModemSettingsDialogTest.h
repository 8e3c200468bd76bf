#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class ModemSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheSavedChoicesAndShowsEachPortsDevice();
    void searchFromComThreeFindsTheModemAndCancelKeepsTheSettings();
    void searchFromComNineWrapsToTheModemAndOkSavesIt();
    void searchIsRefusedWhileTheLineIsInUse();
    void searchNoticesStandAboveTheDialog();
};
