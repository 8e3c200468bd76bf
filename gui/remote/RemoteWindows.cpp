#include "gui/remote/RemoteWindows.h"

#include "core/session/Session.h"
#include "core/remote/Scheduler.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/WindowPlacement.h"
#include "gui/remote/AddressBookDialog.h"
#include "gui/remote/ArbitraryCollectionDialog.h"
#include "gui/remote/ModemSettingsDialog.h"
#include "gui/remote/ReservationNotice.h"
#include "gui/remote/ReservationWindow.h"
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

void RemoteWindows::reservationCommand() {
    if (reservation_) return;
    reservation_ = new ReservationWindow(session_, *stations_, scheduler_, mainWindow_);
    reservation_->show();
}

ReservationWindow* RemoteWindows::reservationWindow() const { return reservation_.data(); }

ReservationNotice* RemoteWindows::reservationNotice() const { return notice_.data(); }

void RemoteWindows::showReservationNotice() {
    // Above whichever of the program's windows is in front (an open modal dialog, the
    // reservation window), not beneath it.
    if (!notice_) notice_ = new ReservationNotice(session_, mainWindow_);
    keepAbove(notice_, frontWindow(mainWindow_, notice_.data()));
    notice_->refresh();
    notice_->show();
    notice_->raise();
}

void RemoteWindows::setScheduler(ReservationScheduler* scheduler) {
    scheduler_ = scheduler;
    if (scheduler_ == nullptr) return;
    // Told on the scheduler's thread; the window, if one is open then, hears it on its own.
    QPointer<RemoteWindows> self(this);
    scheduler_->onRunningChanged = [self](bool running) {
        GuiInbox::instance().post([self, running] {
            if (self && self->reservation_) self->reservation_->schedulerRunning(running);
        });
    };
    scheduler_->onReservationStarted = [self](int row) {
        GuiInbox::instance().post([self, row] {
            if (self && self->reservation_) self->reservation_->reservationStarted(row);
        });
    };
    // Another program changed rsv.dat or adr.csv and the scheduler took it in: every list
    // shows what the files now hold.
    scheduler_->onListsReread = [self] {
        GuiInbox::instance().post([self] {
            if (!self) return;
            self->stations_->refreshAll();
            if (self->reservation_) self->reservation_->tableReread();
        });
    };
}

std::optional<int> RemoteWindows::chooseStation() { return StationChooser::choose(session_, *stations_, mainWindow_); }

void RemoteWindows::modemSettingsCommand() { ModemSettingsDialog::edit(session_, mainWindow_); }

}  // namespace fenta21::gui
