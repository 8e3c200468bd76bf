#include "core/app/StatusDisplay.h"

#include "core/serial/CaptureQueue.h"

namespace fenta21 {
namespace {

// Below this the word still holds a speed index or "search the speeds", not bits per second.
constexpr std::int32_t kLowestSpeed = 300;
constexpr std::int16_t kAlternateShown = -2;

}  // namespace

StatusFrame StatusDisplay::update(CaptureQueue* queue, LineState lineState, std::int32_t lineSpeed, bool slowTick,
                                  bool reservationRunning) {
    StatusFrame frame;
    if (!receiveLatch_) {
        receiveLatch_ = queue != nullptr && queue->takeReceivedActivity();
        if (queue != nullptr && queue->takeSentActivity()) frame.sendLamp = ActivityLamp::Sending;
    } else {
        receiveLatch_ = false;
        if (queue != nullptr) {
            queue->takeReceivedActivity();
            queue->takeSentActivity();
        }
        frame.receiveLamp = ActivityLamp::Receiving;
    }

    if (lineState == LineState::Connecting && lineSpeed >= kLowestSpeed) frame.speed = lineSpeed;

    if (slowTick) {
        frame.state = nextStatePicture(lineState);
        frame.reservationLamp = reservationRunning;
    }
    return frame;
}

StatePicture StatusDisplay::nextStatePicture(LineState lineState) {
    auto state = static_cast<std::int16_t>(lineState);
    if (shownState_ != state) {
        shownState_ = state;
        return state <= 0 ? StatePicture::Idle : StatePicture::Linked;
    }
    // The same state twice: idle and linked stay; a line being set up or taken down shows
    // its alternate picture and is drawn afresh on the next slow tick.
    switch (lineState) {
        case LineState::Idle: return StatePicture::Idle;
        case LineState::Linked: return StatePicture::Linked;
        case LineState::Connecting: shownState_ = kAlternateShown; return StatePicture::SettingUpAlternate;
        default: shownState_ = kAlternateShown; return StatePicture::TakingDownAlternate;
    }
}

}  // namespace fenta21
