#include "gui/remote/ReservationTimeDialog.h"

#include "core/remote/ReservationRows.h"
#include "gui/base/Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace fenta21::gui {
namespace {

QComboBox* choiceList(const std::vector<std::string>& entries, int preset, const QString& name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (const std::string& entry : entries) list->addItem(qs(entry));
    list->setCurrentIndex(preset >= 0 && preset < list->count() ? preset : 0);
    return list;
}

}  // namespace

ReservationTimeDialog::ReservationTimeDialog(const ReservationTime& preset, QWidget* parent) : QDialog(parent) {
    setObjectName("reservationTimeDialog");
    setWindowTitle(kTitle);
    days_ = choiceList(dayChoices(), preset.day, "dayList", this);
    hours_ = choiceList(hourChoices(), preset.hourCode, "hourList", this);
    minutes_ = choiceList(minuteChoices(), preset.minute, "minuteList", this);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("【日】"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("【時】"), this), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("【分】"), this), 0, 2);
    layout->addWidget(days_, 1, 0);
    layout->addWidget(hours_, 1, 1);
    layout->addWidget(minutes_, 1, 2);
    layout->addWidget(buttons, 2, 0, 1, 3);
}

ReservationTime ReservationTimeDialog::time() const {
    return ReservationTime{days_->currentIndex(), hours_->currentIndex(), minutes_->currentIndex()};
}

std::optional<ReservationTime> ReservationTimeDialog::ask(const ReservationTime& preset, QWidget* parent) {
    ReservationTimeDialog dialog(preset, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.time();
}

}  // namespace fenta21::gui
