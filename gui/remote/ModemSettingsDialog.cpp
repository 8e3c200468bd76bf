#include "gui/remote/ModemSettingsDialog.h"

#include "core/session/Session.h"
#include "core/remote/ModemPortSearch.h"
#include "core/remote/ModemSettings.h"
#include "core/serial/PortDescription.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/SerialLists.h"
#include "gui/base/Text.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

namespace fenta21::gui {
namespace {

int clampedIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }

}  // namespace

ModemSettingsDialog::ModemSettingsDialog(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName("modemSettingsDialog");
    setWindowTitle(kTitle);

    speeds_ = makeSpeedList(this);
    ports_ = new QComboBox(this);
    ports_->setObjectName("portList");
    // The port's number is what is stored; the device behind it and what that device is are
    // shown beside it, so that the modem's adapter is the one picked.
    int port = 0;
    for (const std::string& path : comPortDevices(session)) {
        std::string device = describeSerialDevice(path);
        ports_->addItem(QString("COM%1  %2").arg(++port).arg(device.empty() ? QStringLiteral("(なし)") : qs(device)));
    }
    auto* search = new QPushButton(QStringLiteral("検索"), this);
    search->setObjectName("searchButton");
    search->setAutoDefault(false);
    tone_ = new QRadioButton(QStringLiteral("ﾄｰﾝ"), this);
    tone_->setObjectName("toneChoice");
    pulse_ = new QRadioButton(QStringLiteral("ﾊﾟﾙｽ"), this);
    pulse_->setObjectName("pulseChoice");
    auto* methods = new QButtonGroup(this);
    methods->addButton(tone_);
    methods->addButton(pulse_);

    speeds_->setCurrentIndex(clampedIndex(session.settings.modemSpeedIndex, speeds_->count()));
    ports_->setCurrentIndex(clampedIndex(session.settings.modemPortIndex, ports_->count()));
    (session.settings.dialMethod == 1 ? pulse_ : tone_)->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("okButton");
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(search, &QPushButton::clicked, this, &ModemSettingsDialog::search);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("通信速度"), this), 0, 0);
    layout->addWidget(speeds_, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("通信ポｰト"), this), 1, 0);
    layout->addWidget(ports_, 1, 1);
    layout->addWidget(search, 1, 2);
    auto* method = new QHBoxLayout;
    method->addWidget(tone_);
    method->addWidget(pulse_);
    method->addStretch();
    layout->addWidget(new QLabel(QStringLiteral("ﾀﾞｲﾔﾙ方法"), this), 2, 0);
    layout->addLayout(method, 2, 1, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);
}

ModemChoice ModemSettingsDialog::choice() const {
    return ModemChoice{speeds_->currentIndex(), ports_->currentIndex(), pulse_->isChecked() ? 1 : 0};
}

bool ModemSettingsDialog::edit(Session& session, QWidget* parent) {
    ModemSettingsDialog dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    ModemChoice chosen = dialog.choice();
    return storeModemSettings(session, {chosen.speedIndex, chosen.portIndex, chosen.dialMethod}) ==
           SettingsChange::Stored;
}

void ModemSettingsDialog::search() {
    // The search waits seconds on each port; it runs beside the window so that its notices
    // are painted, and the dialog takes no input until it has ended.
    setEnabled(false);
    ModemChoice selected = choice();
    std::optional<int> found;
    besideTheWindow([&] { found = searchModemPort(session_, selected.portIndex, selected.speedIndex); });
    if (found) ports_->setCurrentIndex(*found);
    setEnabled(true);
}

}  // namespace fenta21::gui
