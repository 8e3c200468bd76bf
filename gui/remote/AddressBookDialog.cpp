#include "gui/remote/AddressBookDialog.h"

#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
#include "gui/remote/StationEditorDialog.h"
#include "gui/remote/StationListModel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

namespace fenta21::gui {

AddressBookDialog::AddressBookDialog(Session& session, StationListModel& stations, QWidget* parent)
    : QDialog(parent), session_(session), stations_(stations) {
    setObjectName("addressBookDialog");
    setWindowTitle(kTitle);
    list_ = makeStationView(&stations_, "stationList", this);
    list_->setMinimumSize(660, 320);

    auto* buttons = new QHBoxLayout;
    QPushButton* edit = addWindowButton(buttons, QStringLiteral("設定"), "editButton", this);
    QPushButton* erase = addWindowButton(buttons, QStringLiteral("削除"), "eraseButton", this);
    buttons->addStretch();
    QPushButton* cancel = addWindowButton(buttons, QStringLiteral("ｷｬﾝｾﾙ"), "cancelButton", this);
    QPushButton* ok = addWindowButton(buttons, QStringLiteral("OK"), "okButton", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(edit, &QPushButton::clicked, this, &AddressBookDialog::editSelected);
    connect(list_, &QTreeView::doubleClicked, this, &AddressBookDialog::editSelected);
    // Enter in the list does what a double click does, rather than press the default button.
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, &AddressBookDialog::editSelected);
    }
    connect(erase, &QPushButton::clicked, this, &AddressBookDialog::eraseSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &AddressBookDialog::confirm);
}

void AddressBookDialog::editSelected() {
    int station = selectedRow(list_);
    if (station < 0) return;
    if (StationEditorDialog::edit(session_, station, this)) stations_.refreshRow(station);
}

void AddressBookDialog::eraseSelected() {
    int station = selectedRow(list_);
    if (station < 0) return;
    session_.addressBook.erase(station);
    stations_.refreshRow(station);
}

void AddressBookDialog::confirm() {
    // A file that cannot be written is reported; the entries stay in memory either way. The
    // store also takes in the entries another program changed meanwhile.
    storeAddressBook(session_, session_.addressBook);
    stations_.refreshAll();
    accept();
}

}  // namespace fenta21::gui
