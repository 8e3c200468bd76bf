#pragma once

#include "core/remote/StationEditor.h"

#include <QDialog>

#include <map>

class QLineEdit;
class QRadioButton;

namespace fenta21::gui {

// "アドレス帳の設定": one address-book entry. The fields refuse a keystroke that would overfill
// them (no message); "OK" hands the typed texts to the core's editor, which checks the folder
// and stores the entry; the dialog stays open when it refuses.
class StationEditorDialog : public QDialog {
    Q_OBJECT
public:
    StationEditorDialog(StationEditor editor, QWidget* parent);

    // Edits place `station`; true when the entry was stored (the caller saves adr.csv where
    // its window does). Nothing happens for a place outside 0-99.
    static bool edit(Session& session, int station, QWidget* parent);

    static constexpr const char* kTitle = "アドレス帳の設定";

private:
    void browse();
    void confirm();
    StationForm typed() const;

    StationEditor editor_;
    std::map<StationField, QLineEdit*> fields_;
    QRadioButton* modem_;
    QRadioButton* direct_;
};

}  // namespace fenta21::gui
