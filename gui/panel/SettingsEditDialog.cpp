#include "gui/panel/SettingsEditDialog.h"

#include "gui/base/ProgramIcon.h"
#include "gui/base/QtHost.h"
#include "gui/base/Text.h"
#include "gui/panel/SettingsButtons.h"
#include "gui/panel/SettingsListDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenta21::gui {

SettingsEditDialog::SettingsEditDialog(const EditDialog& dialog, ActionRunner runAction, QWidget* parent)
    : QDialog(parent), dialog_(dialog), runAction_(std::move(runAction)) {
    setObjectName(settingsDialogName(dialog.id));
    setWindowTitle(qs(dialog.caption));
    setWindowIcon(programIcon());

    auto* grid = new QGridLayout;
    const std::size_t count = std::max(dialog.fields.size(), dialog.labels.size());
    for (std::size_t i = 0; i < count; ++i) {
        const int row = static_cast<int>(i);
        if (i < dialog.labels.size() && !dialog.labels[i].empty())
            grid->addWidget(new QLabel(qs(dialog.labels[i]), this), row, 0);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("field%1").arg(i));
        edit->setText(i < dialog.fields.size() ? qs(dialog.fields[i]) : QString());
        edit->setMinimumWidth(170);
        grid->addWidget(edit, row, 1);
        edits_.push_back(edit);
    }
    if (!dialog.unit.empty() && !edits_.empty()) {
        auto* unit = new QLabel(qs(dialog.unit), this);
        unit->setObjectName("unit");
        grid->addWidget(unit, static_cast<int>(edits_.size()) - 1, 2);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    QDialogButtonBox* buttons = okCancelButtons(this);
    layout->addWidget(buttons);
    if (!dialog.actionButton.empty()) {
        auto* own = new QPushButton(qs(dialog.actionButton), this);
        own->setObjectName("actionButton");
        own->setAutoDefault(false);
        layout->addWidget(own);
        connect(own, &QPushButton::clicked, this, &SettingsEditDialog::runAction);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::vector<std::string> SettingsEditDialog::fields() const {
    std::vector<std::string> texts;
    for (const QLineEdit* edit : edits_) texts.push_back(utf8(edit->text()));
    return texts;
}

QLineEdit* SettingsEditDialog::field(int index) const {
    return index >= 0 && index < static_cast<int>(edits_.size()) ? edits_[static_cast<std::size_t>(index)] : nullptr;
}

void SettingsEditDialog::accept() {
    const std::string complaint = dialog_.check ? dialog_.check(fields()) : std::string();
    if (complaint.empty()) return QDialog::accept();
    QMessageBox box(QMessageBox::Warning, QtHost::kMessageCaption, qs(complaint), QMessageBox::NoButton, this);
    box.setObjectName(kRangeMessageName);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void SettingsEditDialog::runAction() {
    if (dialog_.action) {
        if (runAction_) runAction_(dialog_.action);
        else dialog_.action();
    }
    reject();
}

DialogEnd SettingsEditDialog::run(EditDialog& dialog, const ActionRunner& runAction, QWidget* parent) {
    SettingsEditDialog window(dialog, runAction, parent);
    if (window.exec() != QDialog::Accepted) return DialogEnd::Cancel;
    dialog.fields = window.fields();
    return DialogEnd::Ok;
}

}  // namespace fenta21::gui
