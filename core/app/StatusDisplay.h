#pragma once

#include "core/protocol/LineWords.h"

#include <cstdint>
#include <optional>

namespace fenta21 {

class CaptureQueue;

// The pictures of the status bar. The state picture shows Initial until its first update.
enum class StatePicture { Initial, Idle, Linked, SettingUpAlternate, TakingDownAlternate };
enum class ActivityLamp { Dark, Sending, Receiving };

// What one heartbeat tick leaves the status bar to paint. Empty fields keep what is shown.
struct StatusFrame {
    ActivityLamp sendLamp = ActivityLamp::Dark;
    ActivityLamp receiveLamp = ActivityLamp::Dark;
    std::optional<int> speed;
    std::optional<StatePicture> state;
    std::optional<bool> reservationLamp;
};

// The status bar's logic over the line words and the capture queue's activity flags; the
// widget only paints what it returns.
class StatusDisplay {
public:
    // `queue` may be null while there is no serial channel. `slowTick` is the heartbeat's
    // slower half, every 11th tick.
    StatusFrame update(CaptureQueue* queue, LineState lineState, std::int32_t lineSpeed, bool slowTick,
                       bool reservationRunning);

private:
    StatePicture nextStatePicture(LineState lineState);

    // A reception latched on one tick lights the receive lamp on the next, with the send lamp
    // dark, so the two lamps are never lit together.
    bool receiveLatch_ = false;
    // The line state last drawn; -2 marks the alternate picture of a changing line.
    std::int16_t shownState_ = 0;
};

}  // namespace fenta21
