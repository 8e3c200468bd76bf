#pragma once

#include "core/base/CalendarTime.h"
#include "core/base/Guarded.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace fenta21 {

// Who owns the line. Link commands start only from Idle; disconnection only from Linked.
enum class LineState : std::int16_t { Disconnecting = -1, Idle = 0, Linked = 1, Connecting = 2 };

enum class CollectCommand : std::uint8_t { Copy, AllCopy, Text };

// The logger command that a collection command stands for: "copy", "acopy" or "text".
const char* collectCommandText(CollectCommand command);

// The words that the window, the workers and the scheduler share. Each is written by one
// thread and read by others, so each is atomic (or guarded when larger than a word).
struct LineWords {
    std::atomic<LineState> lineState{LineState::Idle};
    // COM port 1-9 for the next direct link; -1 = search from the saved port onward.
    std::atomic<std::int16_t> linkPortNumber{-1};
    // -1 = search the speeds, 0-9 a speed index; the speed in bit/s once a port is open.
    std::atomic<std::int32_t> lineSpeed{-1};
    std::atomic<std::int16_t> panelLinkActive{0};
    std::atomic<std::int32_t> pendingFunctionKey{0};
    std::atomic<std::int16_t> tickCounter{0};
    std::atomic<CollectCommand> collectCommand{CollectCommand::Copy};
    // True while a collection runs over the link that is up: the user's own link can carry
    // the window's direct collection and a station collection, but never both at once.
    std::atomic<bool> collecting{false};
    Guarded<std::string> lastDataFile;
    Guarded<CalendarTime> clockSample;
};

}  // namespace fenta21
