#include "gui/remote/RemoteWindows.h"

#include "core/session/Session.h"
#include "core/events/EventHub.h"
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

#include <vector>

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
    schedulerListeners_.reset();
    if (scheduler_ == nullptr) return;
    auto subscriptions = std::make_shared<std::vector<EventHub::Subscription>>();
    // Heard on the event hub's thread; the window, if one is open then, hears it on its own.
    QPointer<RemoteWindows> self(this);
    auto toWindows = [self](auto show) {
        GuiInbox::instance().post([self, show] {
            if (self) show(*self);
        });
    };
    subscriptions->push_back(session_.events.subscribe<SchedulerRunningChanged>([toWindows](const auto& changed) {
        toWindows([running = changed.running](RemoteWindows& windows) {
            if (windows.reservation_) windows.reservation_->schedulerRunning(running);
        });
    }));
    subscriptions->push_back(session_.events.subscribe<ReservationStarted>([toWindows](const auto& started) {
        toWindows([row = started.row](RemoteWindows& windows) {
            if (windows.reservation_) windows.reservation_->reservationStarted(row);
        });
    }));
    // Another program changed rsv.dat or adr.csv and the scheduler took it in: every list
    // shows what the files now hold.
    subscriptions->push_back(session_.events.subscribe<SharedListsReread>([toWindows](const auto&) {
        toWindows([](RemoteWindows& windows) {
            windows.stations_->refreshAll();
            if (windows.reservation_) windows.reservation_->tableReread();
        });
    }));
    schedulerListeners_ = std::move(subscriptions);
}

std::optional<int> RemoteWindows::chooseStation() { return StationChooser::choose(session_, *stations_, mainWindow_); }

void RemoteWindows::modemSettingsCommand() { ModemSettingsDialog::edit(session_, mainWindow_); }

}  // namespace fenta21::gui
