#include "gui/util/CfCardDialog.h"

#include "core/util/CfCardFormat.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/Text.h"
#include "gui/util/CfCardPicture.h"
#include "gui/util/CfCardSetup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenta21::gui {
namespace {

QLineEdit* sizeField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(QStringLiteral("0"), parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    // Room for a card of a few hundred gigabytes in bytes.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    return field;
}

}  // namespace

CfCardDialog::CfCardDialog(Session& session, const CfCardSetup& setup, QWidget* parent)
    : QDialog(parent), session_(session), setup_(setup) {
    setObjectName("cfCardDialog");
    setWindowTitle(kTitle);

    auto* intro = new QLabel(
        QStringLiteral("CFカードがセットされているドライブを選択して、フォーマット実行ボタンをクリックしてください。"), this);
    intro->setObjectName("introText");
    intro->setWordWrap(true);

    drives_ = new QComboBox(this);
    drives_->setObjectName("driveList");
    drives_->setEditable(true);
    drives_->setInsertPolicy(QComboBox::NoInsert);
    drives_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const Drive& drive : setup_.drives()) drives_->addItem(qs(drive.displayText), qs(drive.device));
    if (drives_->count() > 0) drives_->setCurrentIndex(0);

    format_ = new QPushButton(QStringLiteral("フォーマット実行"), this);
    format_->setObjectName("formatButton");
    close_ = new QPushButton(QStringLiteral("閉じる"), this);
    close_->setObjectName("closeButton");
    total_ = sizeField("totalSize", this);
    free_ = sizeField("freeSize", this);
    unit_ = sizeField("allocationUnit", this);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(new QLabel(QStringLiteral("ドライブ："), this));
    driveRow->addWidget(drives_, 1);
    driveRow->addWidget(format_);

    auto* sizes = new QGridLayout;
    int row = 0;
    for (auto [text, field] : {std::pair{"全ディスク領域：", total_}, std::pair{"使用可能ディスク領域：", free_},
                               std::pair{"アロケーションユニットサイズ：", unit_}}) {
        sizes->addWidget(new QLabel(QString::fromUtf8(text), this), row, 0, Qt::AlignRight);
        sizes->addWidget(field, row, 1);
        sizes->addWidget(new QLabel(QStringLiteral("ﾊﾞｲﾄ"), this), row, 2);
        ++row;
    }

    auto* top = new QHBoxLayout;
    top->addWidget(new CfCardPicture(this), 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(intro);
    right->addLayout(driveRow);
    right->addLayout(sizes);
    top->addLayout(right, 1);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(closeRow);
    setMinimumWidth(520);

    connect(format_, &QPushButton::clicked, this, &CfCardDialog::formatCommand);
    connect(close_, &QPushButton::clicked, this, &CfCardDialog::reject);
}

QString CfCardDialog::driveText() const {
    int index = drives_->currentIndex();
    if (index >= 0 && drives_->currentText() == drives_->itemText(index)) return drives_->itemData(index).toString();
    return drives_->currentText();
}

void CfCardDialog::reject() {
    // The card is being written: the window stays until the format has ended.
    if (!formatting_) QDialog::reject();
}

void CfCardDialog::formatCommand() {
    std::string drive = utf8(driveText());
    formatting_ = true;
    for (QWidget* control : std::initializer_list<QWidget*>{drives_, format_, close_}) control->setEnabled(false);
    QPointer<CfCardDialog> self(this);
    besideTheWindow([&] {
        formatCfCard(session_, drive, setup_.tools, [self](const CfCardSizes& sizes) {
            // Shown before the closing message opens, so that both are seen together.
            GuiInbox::instance().call([&] {
                if (self) self->showSizes(sizes.totalBytes, sizes.freeBytes, sizes.allocationUnit);
            });
        });
    });
    if (!self) return;
    formatting_ = false;
    for (QWidget* control : std::initializer_list<QWidget*>{drives_, format_, close_}) control->setEnabled(true);
}

void CfCardDialog::showSizes(std::uint64_t total, std::uint64_t free, std::uint64_t unit) {
    total_->setText(QString::number(total));
    free_->setText(QString::number(free));
    unit_->setText(QString::number(unit));
}

}  // namespace fenta21::gui
