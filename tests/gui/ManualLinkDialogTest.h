#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class ManualLinkDialogTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheTenSpeedsAndNinePortsPresetFromTheSettings();
    void okStoresTheChoiceAndLinksUpOverIt();
    void cancelChangesNothing();
};
