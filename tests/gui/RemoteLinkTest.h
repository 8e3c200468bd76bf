#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class RemoteLinkTest : public QObject {
    Q_OBJECT
private slots:
    void okWithoutASelectionCancels();
    void propertiesEditsTheEntryAndSavesAtOnce();
    void linkToAStationWithUnitsOneAndThreeSelectsUnitOneForThePanel();
    void stationWithoutUnitsIsLinkedWithoutAUnitSelection();
    void directCollectionAfterALinkToUnitsNamesItsFileWithoutAUnit();
};
