#pragma once

// Declared apart from its cases: the meta-object compiler cannot read the core's headers.
#include <QObject>

class AddressBookWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void listShowsEveryPlaceWithTheSevenColumns();
    void editedEntryIsShownAndSavedOnOk();
    void enterInTheListOpensTheEditorAsADoubleClickDoes();
    void cancelKeepsTheEditsInMemoryWithoutSaving();
    void eraseEmptiesTheSelectedEntry();
    void editorFieldsRefuseTheByteBeyondTheirLimit_data();
    void editorFieldsRefuseTheByteBeyondTheirLimit();
    void editorRefusesAMissingFolderAndStaysOpen();
    void emptyFolderPassesAndIsStoredEmpty();
};
