#include "gui/remote/RemoteWindows.h"

#include "core/app/Session.h"
#include "gui/remote/AddressBookDialog.h"
#include "gui/remote/ArbitraryCollectionDialog.h"
#include "gui/remote/ModemSettingsDialog.h"
#include "gui/remote/StationChooser.h"
#include "gui/remote/StationListModel.h"

#include <QWidget>

namespace fenta21::gui {

RemoteWindows::RemoteWindows(Session& session, QWidget* mainWindow)
    : QObject(mainWindow), session_(session), mainWindow_(mainWindow),
      stations_(new StationListModel(session.addressBook, this)) {}

void RemoteWindows::addressBookCommand() {
    AddressBookDialog dialog(session_, *stations_, mainWindow_);
    dialog.exec();
}

void RemoteWindows::arbitraryCollectionCommand() {
    ArbitraryCollectionDialog dialog(session_, *stations_, mainWindow_);
    dialog.exec();
}

std::optional<int> RemoteWindows::chooseStation() { return StationChooser::choose(session_, *stations_, mainWindow_); }

void RemoteWindows::modemSettingsCommand() { ModemSettingsDialog::edit(session_, mainWindow_); }

}  // namespace fenta21::gui
