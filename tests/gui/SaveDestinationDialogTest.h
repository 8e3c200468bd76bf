#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class SaveDestinationDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTheSavedTexts();
    void missingFolderIsRefusedAndTheDialogStaysOpen();
    void browsedFolderIsSavedOnOk();
    void fieldsTakeAtMostSixtyFourCodePageBytes_data();
    void fieldsTakeAtMostSixtyFourCodePageBytes();
};
