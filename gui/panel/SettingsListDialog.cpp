#include "gui/panel/SettingsListDialog.h"

#include "gui/base/ProgramIcon.h"
#include "gui/base/Text.h"
#include "gui/panel/SettingsButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace fenta21::gui {

QString settingsDialogName(int id) { return QString("settingsDialog%1").arg(id); }

SettingsListDialog::SettingsListDialog(const ListDialog& dialog, QWidget* parent) : QDialog(parent) {
    setObjectName(settingsDialogName(dialog.id));
    setWindowTitle(qs(dialog.caption));
    setWindowIcon(programIcon());

    // A fixed list: the user picks, never types.
    entries_ = new QComboBox(this);
    entries_->setObjectName("entryList");
    entries_->setEditable(false);
    entries_->setMaxVisibleItems(16);
    for (const std::string& entry : dialog.entries) entries_->addItem(qs(entry));
    entries_->setCurrentIndex(dialog.preselected >= 0 && dialog.preselected < entries_->count() ? dialog.preselected
                                                                                                   : -1);
    entries_->setMinimumWidth(160);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(entries_);
    layout->addWidget(okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int SettingsListDialog::chosen() const { return entries_->currentIndex(); }

DialogEnd SettingsListDialog::run(ListDialog& dialog, QWidget* parent) {
    SettingsListDialog window(dialog, parent);
    if (window.exec() != QDialog::Accepted) return DialogEnd::Cancel;
    dialog.chosen = window.chosen();
    return DialogEnd::Ok;
}

}  // namespace fenta21::gui
