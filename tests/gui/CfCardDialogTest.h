#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class CfCardDialogTest : public QObject {
    Q_OBJECT
private slots:
    void command32782FormatsTheChosenCardAndShowsItsSizes();
    void theDriveFieldNamesTheChosenDeviceOrTheTypedText();
    void theCommandGivenAtStartOpensTheWindow();
};
