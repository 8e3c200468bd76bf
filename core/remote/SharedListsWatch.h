#pragma once

#include "core/base/FileStamp.h"

#include <optional>

namespace fenta21 {

class Session;

// The running scheduler's eye on rsv.dat and adr.csv, which the desktop program and scripts
// on the same home change while it runs: a reservation added there must be collected at its
// minute, and a station's changed entry used. One stat of each file per look; a file is read
// again (under the home's lock, so never in the middle of another program's change) only when
// its stamp differs from the one it had when last read here. The first look reads each file
// that is there, since it may have changed after the program loaded it.
class SharedListsWatch {
public:
    // Re-reads what changed into the session's reservation table and address book (the
    // book keeps the entries this program changed and has not stored). True when anything
    // was read again, for the windows that show them.
    bool refresh(Session& session);

private:
    std::optional<FileStamp> reservations_;
    std::optional<FileStamp> addressBook_;
};

}  // namespace fenta21
