#include "gui/app/SaveDestinationDialog.h"

#include "core/app/SaveDestination.h"
#include "core/session/Session.h"
#include "gui/base/FittingValidator.h"
#include "gui/base/Text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fenta21::gui {
namespace {

QLineEdit* limitedField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setValidator(new FittingValidator(
        [](const std::string& text) { return fitSaveDestinationText(text) == text; }, field));
    return field;
}

// Text put in a field by the program (the saved settings, the folder browser's choice) passes
// no validator: it is fitted the same way, so the field never holds more than is stored.
void putText(QLineEdit* field, const std::string& text) { field->setText(qs(fitSaveDestinationText(text))); }

}  // namespace

SaveDestinationDialog::SaveDestinationDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName("saveDestinationDialog");
    setWindowTitle(kTitle);

    fileName_ = limitedField("fileNameField", this);
    folder_ = limitedField("folderField", this);
    auto* browse = new QPushButton(QStringLiteral("参照"), this);
    browse->setObjectName("browseButton");
    browse->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("ﾌｧｲﾙ名 : "), this), 0, 0);
    layout->addWidget(fileName_, 0, 1, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("ﾌｫﾙﾀﾞ名 : "), this), 1, 0);
    layout->addWidget(folder_, 1, 1);
    layout->addWidget(browse, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);
    layout->setColumnMinimumWidth(1, 320);

    SaveDestination current = currentSaveDestination(session_);
    putText(fileName_, current.fileName);
    putText(folder_, current.folder);

    connect(browse, &QPushButton::clicked, this, &SaveDestinationDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &SaveDestinationDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool SaveDestinationDialog::edit(Session& session, QWidget* parent) {
    SaveDestinationDialog dialog(session, parent);
    return dialog.exec() == QDialog::Accepted;
}

void SaveDestinationDialog::browse() {
    // The browser has no title of its own; cancelling it leaves the field as it was.
    std::string chosen = session_.host.chooseFolder(std::string());
    if (!chosen.empty()) putText(folder_, chosen);
}

void SaveDestinationDialog::confirm() {
    SaveDestination typed{utf8(fileName_->text()), utf8(folder_->text())};
    if (confirmSaveDestination(session_, typed) == SettingsChange::Stored) {
        accept();
        return;
    }
    // Refused: the folder field shows the reset text; not saved: what was typed, for another try.
    putText(folder_, typed.folder);
    folder_->setFocus();
}

}  // namespace fenta21::gui
