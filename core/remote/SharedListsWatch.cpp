#include "core/remote/SharedListsWatch.h"

#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationFile.h"

#include <functional>

namespace fenta21 {
namespace {

// Reads the file again when its stamp is not the one seen last. The stamp is taken before the
// read, so a change that lands in between is seen at the next look.
bool rereadWhenChanged(const std::string& path, std::optional<FileStamp>& seen,
                       const std::function<bool(const std::string&)>& reread) {
    FileStamp now = fileStampOf(path);
    if (seen == now) return false;
    seen = now;
    return now.exists && reread(path);
}

}  // namespace

bool SharedListsWatch::refresh(Session& session) {
    bool table = rereadWhenChanged(session.homeFile(kReservationFileName), reservations_, [&](const std::string& path) {
        return rereadReservations(path, session.reservations);
    });
    bool book = rereadWhenChanged(session.homeFile(kAddressBookFileName), addressBook_, [&](const std::string& path) {
        return rereadAddressBook(path, session.addressBook);
    });
    return table || book;
}

}  // namespace fenta21
