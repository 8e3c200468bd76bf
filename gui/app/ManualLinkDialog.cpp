#include "gui/app/ManualLinkDialog.h"

#include "core/session/Session.h"
#include "gui/base/SerialLists.h"
#include "gui/base/Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace fenta21::gui {

ManualLinkDialog::ManualLinkDialog(const Session& session, QWidget* parent) : QDialog(parent) {
    setObjectName("manualLinkDialog");
    setWindowTitle(kTitle);

    speeds_ = makeSpeedList(this);
    ports_ = new QComboBox(this);
    ports_->setObjectName("portList");
    // The user speaks of COM1 ... COM9; the device behind each is shown beside the name, so
    // that the right adapter is picked.
    int port = 0;
    for (const std::string& device : comPortDevices(session)) {
        ports_->addItem(QString("COM%1").arg(++port));
        ports_->setItemData(port - 1, device.empty() ? QStringLiteral("(なし)") : qs(device), Qt::ToolTipRole);
    }
    speeds_->setCurrentIndex(session.settings.directSpeedIndex);
    ports_->setCurrentIndex(session.settings.directPortIndex);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("通信速度 : "), speeds_);
    layout->addRow(QStringLiteral("通信ポート : "), ports_);
    layout->addRow(buttons);
}

ManualLinkChoice ManualLinkDialog::choice() const {
    return ManualLinkChoice{ports_->currentIndex(), speeds_->currentIndex()};
}

std::optional<ManualLinkChoice> ManualLinkDialog::ask(const Session& session, QWidget* parent) {
    ManualLinkDialog dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

}  // namespace fenta21::gui
