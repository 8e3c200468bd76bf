#pragma once

#include <cstdint>

namespace fenta21 {
class Session;
}

namespace fenta21::fuzz {

// What a panel session reads from the logger: its start, then the refresh on moving to an
// item and the reads its sub-lists and refresher repeat. `choice` picks the channel (bits
// 0-2), the blink phase (bit 0) and the item (the bits above). The panel_session target and
// the corpus maker run the same reads, so a recorded exchange replays as it was recorded.
void runPanelReads(Session& session, std::uint8_t choice);

}  // namespace fenta21::fuzz
