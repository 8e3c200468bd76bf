#pragma once

#include <cstddef>
#include <string>

namespace fenta21 {

class Session;

// rsvflg.dat: whether the scheduler is on, as one 16-bit little-endian value (1 on, 0 off),
// written each time the user switches it so that the next start finds it as it was left.
// The start-up reads it with readReservationFlag (core/app/Startup.h).
inline constexpr const char* kReservationFlagFileName = "rsvflg.dat";
inline constexpr std::size_t kReservationFlagBytes = 2;

// False when the file could not be written; the old file is then left whole. Written whole
// under the home's lock, so that it never lands in the middle of another program's change.
bool writeReservationFlag(const std::string& path, bool running);

inline constexpr const char* kReservationFlagNotSavedText = "予約回収の状態を保存できません!! ";

// writeReservationFlag on the session's rsvflg.dat; a failure is reported, since the next
// start would otherwise find the scheduler other than the user left it.
bool storeReservationFlag(Session& session, bool running);

}  // namespace fenta21
