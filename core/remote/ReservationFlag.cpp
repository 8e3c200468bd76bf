#include "core/remote/ReservationFlag.h"

#include "core/session/Session.h"
#include "core/base/Bytes.h"
#include "core/base/HomeFileEdit.h"
#include "core/report/Report.h"

namespace fenta21 {

bool writeReservationFlag(const std::string& path, bool running) {
    std::string bytes;
    appendInt16LE(bytes, running ? 1 : 0);
    return writeHomeFile(path, bytes).written();
}

bool storeReservationFlag(Session& session, bool running) {
    if (writeReservationFlag(session.homeFile(kReservationFlagFileName), running)) return true;
    report(session, kReservationFlagNotSavedText);
    return false;
}

}  // namespace fenta21
