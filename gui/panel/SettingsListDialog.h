#pragma once

#include "core/panel/PanelDialogs.h"

#include <QDialog>

class QComboBox;

namespace fenta21::gui {

// A settings dialog that offers a fixed list (the preset timer, the interval, the mode, the
// wave canceler and the zero point): the core's caption and entries, its preselection (or
// none), and the chosen position handed back after OK.
class SettingsListDialog : public QDialog {
    Q_OBJECT
public:
    SettingsListDialog(const ListDialog& dialog, QWidget* parent = nullptr);

    int chosen() const;
    // Runs the dialog modally; after OK the chosen position is in `dialog.chosen`.
    static DialogEnd run(ListDialog& dialog, QWidget* parent);

private:
    QComboBox* entries_ = nullptr;
};

// The object name of a settings dialog, by the dialog's number ("settingsDialog1015").
QString settingsDialogName(int id);

}  // namespace fenta21::gui
