#include "gui/remote/StationEditorDialog.h"

#include "core/session/Session.h"
#include "gui/base/FittingValidator.h"
#include "gui/base/Text.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fenta21::gui {
namespace {

struct FieldRow {
    StationField field;
    const char* label;
    const char* objectName;
};

constexpr FieldRow kRows[] = {
    {StationField::Name, "地点名 : ", "nameField"},
    {StationField::Telephone, "電話番号 : ", "telephoneField"},
    {StationField::Remark, "備考 : ", "remarkField"},
    {StationField::FileName, "ﾌｧｲﾙ名 : ", "fileNameField"},
    {StationField::Folder, "ﾌｫﾙﾀﾞ名 : ", "folderField"},
};

}  // namespace

StationEditorDialog::StationEditorDialog(StationEditor editor, QWidget* parent)
    : QDialog(parent), editor_(std::move(editor)) {
    setObjectName("stationEditor");
    setWindowTitle(kTitle);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ｎｏ． : "), this), 0, 0);
    auto* number = new QLabel(qs(editor_.numberText()), this);
    number->setObjectName("numberText");
    layout->addWidget(number, 0, 1);
    int row = 1;
    for (const FieldRow& entry : kRows) {
        auto* field = new QLineEdit(this);
        field->setObjectName(entry.objectName);
        StationField which = entry.field;
        // The entry's own text is shown whole even where it is longer than the field allows,
        // so that opening and confirming never cuts a stored entry.
        field->setText(qs(formText(editor_.form(), which)));
        field->setValidator(new FittingValidator(
            [which](const std::string& text) { return fitsStationField(which, text); }, field));
        fields_[which] = field;
        layout->addWidget(new QLabel(QString::fromUtf8(entry.label), this), row, 0);
        layout->addWidget(field, row, 1, 1, which == StationField::Folder ? 1 : 2);
        ++row;
    }
    auto* browse = new QPushButton(QStringLiteral("参照"), this);
    browse->setObjectName("browseButton");
    browse->setAutoDefault(false);
    layout->addWidget(browse, row - 1, 2);

    modem_ = new QRadioButton(QStringLiteral("モデム"), this);
    modem_->setObjectName("modemChoice");
    direct_ = new QRadioButton(QStringLiteral("COMﾀﾞｲﾚｸﾄ"), this);
    direct_->setObjectName("directChoice");
    auto* group = new QButtonGroup(this);
    group->addButton(modem_);
    group->addButton(direct_);
    (editor_.form().direct ? direct_ : modem_)->setChecked(true);
    auto* method = new QHBoxLayout;
    method->addWidget(modem_);
    method->addWidget(direct_);
    method->addStretch();
    layout->addWidget(new QLabel(QStringLiteral("接続方法 : "), this), row, 0);
    layout->addLayout(method, row, 1, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    layout->addWidget(buttons, row + 1, 0, 1, 3);
    layout->setColumnMinimumWidth(1, 320);

    connect(browse, &QPushButton::clicked, this, &StationEditorDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &StationEditorDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool StationEditorDialog::edit(Session& session, int station, QWidget* parent) {
    std::optional<StationEditor> editor = StationEditor::open(session, session.addressBook, station);
    if (!editor) return false;
    StationEditorDialog dialog(std::move(*editor), parent);
    return dialog.exec() == QDialog::Accepted;
}

StationForm StationEditorDialog::typed() const {
    StationForm form;
    form.name = utf8(fields_.at(StationField::Name)->text());
    form.telephone = utf8(fields_.at(StationField::Telephone)->text());
    form.remark = utf8(fields_.at(StationField::Remark)->text());
    form.fileName = utf8(fields_.at(StationField::FileName)->text());
    form.folder = utf8(fields_.at(StationField::Folder)->text());
    form.direct = direct_->isChecked();
    return form;
}

void StationEditorDialog::browse() {
    editor_.browseFolder();
    fields_.at(StationField::Folder)->setText(qs(editor_.form().folder));
}

void StationEditorDialog::confirm() {
    switch (editor_.confirm(typed())) {
        case EditorOutcome::Stored: accept(); return;
        case EditorOutcome::FolderMissing:
            fields_.at(StationField::Folder)->setText(qs(editor_.form().folder));
            fields_.at(StationField::Folder)->setFocus();
            return;
        case EditorOutcome::FieldTooLong:
        case EditorOutcome::CommaInField:
        case EditorOutcome::LineBreakInField:
        case EditorOutcome::NoCp932Form: return;  // reported; the typed texts stay for mending
    }
}

}  // namespace fenta21::gui
