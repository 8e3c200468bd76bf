#include "core/remote/ReservationFlag.h"

#include "core/base/Bytes.h"
#include "core/base/Files.h"

namespace fenta21 {

bool writeReservationFlag(const std::string& path, bool running) {
    std::string bytes;
    appendInt16LE(bytes, running ? 1 : 0);
    return writeFileAtomically(path, bytes);
}

}  // namespace fenta21
