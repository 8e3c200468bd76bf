#include "gui/remote/StationChooser.h"

#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
#include "gui/remote/StationEditorDialog.h"
#include "gui/remote/StationListModel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace fenta21::gui {

StationChooser::StationChooser(Session& session, StationListModel& stations, QWidget* parent)
    : QDialog(parent), session_(session), stations_(stations) {
    setObjectName("stationChooser");
    setWindowTitle(kTitle);
    list_ = makeStationView(&stations_, "stationList", this);
    list_->setMinimumSize(660, 320);

    auto* buttons = new QHBoxLayout;
    QPushButton* properties = addWindowButton(buttons, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), "propertiesButton", this);
    buttons->addStretch();
    QPushButton* cancel = addWindowButton(buttons, QStringLiteral("ｷｬﾝｾﾙ"), "cancelButton", this);
    QPushButton* ok = addWindowButton(buttons, QStringLiteral("OK"), "okButton", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(properties, &QPushButton::clicked, this, &StationChooser::properties);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &StationChooser::confirm);
}

std::optional<int> StationChooser::choose(Session& session, StationListModel& stations, QWidget* parent) {
    StationChooser chooser(session, stations, parent);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.chosen();
}

void StationChooser::properties() {
    int station = selectedRow(list_);
    if (station < 0) return;
    if (!StationEditorDialog::edit(session_, station, this)) return;
    // The store also takes in the entries another program changed meanwhile.
    storeAddressBook(session_, session_.addressBook);
    stations_.refreshAll();
}

void StationChooser::confirm() {
    int station = selectedRow(list_);
    if (station < 0) {
        reject();
        return;
    }
    chosen_ = station;
    accept();
}

}  // namespace fenta21::gui
