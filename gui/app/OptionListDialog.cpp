#include "gui/app/OptionListDialog.h"

#include "gui/base/Text.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenta21::gui {

OptionListDialog::OptionListDialog(const std::vector<OptionProgram>& programs, QWidget* parent) : QDialog(parent) {
    setObjectName("optionListDialog");
    setWindowTitle(kTitle);
    list_ = new QListWidget(this);
    list_->setObjectName("optionList");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const auto& program : programs) list_->addItem(qs(program.displayName));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<std::size_t> OptionListDialog::chosen() const {
    // The current row alone is not a choice: a list box has one before anything is selected.
    QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(list_->row(selected.front()));
}

std::optional<std::size_t> OptionListDialog::choose(const std::vector<OptionProgram>& programs, QWidget* parent) {
    OptionListDialog dialog(programs, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

}  // namespace fenta21::gui
