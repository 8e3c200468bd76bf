// The status bar's lamps, speed text and state pictures, tick by tick.
#include "core/app/StatusDisplay.h"
#include "core/serial/CaptureQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fenta21::test {
namespace {

// One tick: the traffic before it ("r" received, "s" sent) and the lamps it shows
// ("S" sending, "R" receiving, "-" dark; send lamp first).
struct LampTick {
    std::string traffic;
    std::string lamps;
};

std::string lampText(const StatusFrame& frame) {
    auto letter = [](ActivityLamp lamp) {
        return lamp == ActivityLamp::Sending ? 'S' : lamp == ActivityLamp::Receiving ? 'R' : '-';
    };
    return {letter(frame.sendLamp), letter(frame.receiveLamp)};
}

std::vector<std::string> runLamps(const std::vector<LampTick>& ticks) {
    CaptureQueue queue;
    StatusDisplay display;
    std::vector<std::string> shown;
    std::uint8_t byte = 0x41;
    for (const auto& tick : ticks) {
        if (tick.traffic.find('r') != std::string::npos) queue.capture(&byte, 1, CaptureDirection::Received);
        if (tick.traffic.find('s') != std::string::npos) queue.capture(&byte, 1, CaptureDirection::Sent);
        shown.push_back(lampText(display.update(&queue, LineState::Linked, 9600, false, false)));
    }
    return shown;
}

TEST(StatusLamps, FollowTheLatchRuleAndAreNeverLitTogether) {
    struct Case {
        const char* legend;
        std::vector<LampTick> ticks;
    };
    const std::vector<Case> cases = {
        {"quiet", {{"", "--"}, {"", "--"}}},
        {"sending only", {{"s", "S-"}, {"s", "S-"}, {"", "--"}}},
        {"reception lights on the tick after it latched",
         {{"r", "--"}, {"", "-R"}, {"", "--"}}},
        {"both at once: send first, then receive",
         {{"rs", "S-"}, {"", "-R"}, {"", "--"}}},
        {"traffic during the lit tick is forgotten",
         {{"r", "--"}, {"rs", "-R"}, {"", "--"}}},
        {"steady exchange alternates", {{"rs", "S-"}, {"rs", "-R"}, {"rs", "S-"}, {"rs", "-R"}}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> expected;
        for (const auto& tick : c.ticks) expected.push_back(tick.lamps);
        EXPECT_EQ(runLamps(c.ticks), expected) << c.legend;
    }
}

TEST(StatusLamps, StayDarkWithoutAChannel) {
    StatusDisplay display;
    EXPECT_EQ(lampText(display.update(nullptr, LineState::Idle, -1, true, false)), "--");
}

TEST(StatusSpeed, IsShownOnlyWhileALinkIsSetUpAtARealSpeed) {
    struct Case {
        LineState state;
        std::int32_t speed;
        std::optional<int> shown;
    };
    for (Case c : {Case{LineState::Connecting, 9600, 9600}, Case{LineState::Connecting, 300, 300},
                   Case{LineState::Connecting, 5, std::nullopt}, Case{LineState::Connecting, -1, std::nullopt},
                   Case{LineState::Linked, 9600, std::nullopt}, Case{LineState::Idle, 9600, std::nullopt}}) {
        StatusDisplay display;
        EXPECT_EQ(display.update(nullptr, c.state, c.speed, false, false).speed, c.shown)
            << static_cast<int>(c.state) << " at " << c.speed;
    }
}

char pictureLetter(StatePicture picture) {
    switch (picture) {
        case StatePicture::Idle: return 'i';
        case StatePicture::Linked: return 'L';
        case StatePicture::SettingUpAlternate: return 'u';
        case StatePicture::TakingDownAlternate: return 'd';
        default: return '?';
    }
}

TEST(StatusPicture, SteadyWhenIdleOrLinkedAlternatingWhileTheLineChanges) {
    struct Case {
        const char* legend;
        std::vector<LineState> states;  // the line state at each slow tick
        std::string pictures;
    };
    using enum LineState;
    const std::vector<Case> cases = {
        {"idle", {Idle, Idle, Idle}, "iii"},
        {"setting up", {Connecting, Connecting, Connecting, Connecting, Connecting}, "LuLuL"},
        {"linked", {Linked, Linked, Linked}, "LLL"},
        {"taking down", {Disconnecting, Disconnecting, Disconnecting, Disconnecting}, "idid"},
        {"a whole collection", {Idle, Connecting, Connecting, Linked, Linked, Disconnecting, Disconnecting, Idle, Idle},
         "iLuLLidii"},
    };
    for (const auto& c : cases) {
        StatusDisplay display;
        std::string shown;
        for (LineState state : c.states) {
            auto frame = display.update(nullptr, state, -1, true, false);
            ASSERT_TRUE(frame.state.has_value()) << c.legend;
            shown += pictureLetter(*frame.state);
        }
        EXPECT_EQ(shown, c.pictures) << c.legend;
    }
}

TEST(StatusPicture, PictureAndReservationLampWaitForTheSlowTick) {
    StatusDisplay display;
    auto fast = display.update(nullptr, LineState::Connecting, -1, false, true);
    EXPECT_FALSE(fast.state.has_value());
    EXPECT_FALSE(fast.reservationLamp.has_value());
    auto slow = display.update(nullptr, LineState::Connecting, -1, true, true);
    EXPECT_EQ(slow.state, StatePicture::Linked);
    EXPECT_EQ(slow.reservationLamp, true);
    EXPECT_EQ(display.update(nullptr, LineState::Connecting, -1, true, false).reservationLamp, false);
}

}  // namespace
}  // namespace fenta21::test
