#include "core/app/Startup.h"

#include "core/base/Folders.h"
#include "core/app/LeftoverFiles.h"
#include "core/session/Session.h"
#include "core/session/SettingsStore.h"
#include "core/base/Bytes.h"
#include "core/base/Files.h"
#include "core/protocol/RetrySettings.h"
#include "core/remote/AddressBookFile.h"
#include "core/stations/ModemParameters.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationFlag.h"

#include <set>

namespace fenta21 {

bool readReservationFlag(const std::string& path) {
    auto content = readRegularFilePrefix(path, kReservationFlagBytes).bytes;
    return content && content->size() == kReservationFlagBytes && readInt16LE(*content, 0) == 1;
}

void startUp(Session& session) {
    startUpView(session);
    startUpFrame(session);
}

void startUpView(Session& session) {
    // What the remote-operation view loads when it is created.
    session.retry = loadRetrySettings(session.homeFile("cmd.dat"));
    session.modem = loadModemParameters(session.homeFile("mdm.dat"));
    session.models.loadModelTable();
}

namespace {

// What a program killed while writing left in the folders this one shares with others: the
// home, the data folder and every station's folder, each looked at once.
void removeLeftovers(const Session& session) {
    std::set<std::string> folders{session.homeFolder(),
                                  resolveDataFolder(session.homeFolder(), session.settings.dataFolder)};
    for (const Station& station : session.addressBook.stations())
        if (!station.name.empty()) folders.insert(resolveDataFolder(session.homeFolder(), station.folder));
    for (const std::string& folder : folders) removeLeftoverFiles(folder);
}

}  // namespace

void startUpFrame(Session& session) {
    // What the main window loads when it is created.
    session.createSerialChannel();
    loadSettings(session.homeFile(kSettingsFileName), session.settings);
    loadAddressBook(session.homeFile(kAddressBookFileName), session.addressBook);
    removeLeftovers(session);
    loadReservations(session.homeFile(kReservationFileName), session.reservations);
    session.reservationRunning.store(readReservationFlag(session.homeFile(kReservationFlagFileName)));
}

}  // namespace fenta21
