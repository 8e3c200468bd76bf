// The heartbeat's own steps: the clock sample once per 11 ticks, the counter, and the words
// it hands to the window.
#include "core/app/Heartbeat.h"
#include "core/session/Session.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

class Heartbeat : public ::testing::Test {
protected:
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session{home.path(), host, clock};
};

TEST_F(Heartbeat, SamplesTheClockOnlyAtTheStartOfEachCycle) {
    clock.setLocalTime({2026, 1, 2, 3, 4, 5});
    std::vector<bool> slow;
    for (int tick = 0; tick < 11; ++tick) {
        slow.push_back(heartbeatTick(session).slowStatus);
        clock.setLocalTime({2026, 1, 2, 3, 4, 6 + tick});
    }
    // The sample was taken on the first tick and not refreshed by the ten after it.
    EXPECT_EQ(session.clockSample.get().second, 5);
    EXPECT_EQ(session.line.tickCounter(), 0);
    EXPECT_EQ(slow, std::vector<bool>({false, false, false, false, false, false, false, false, false, false, true}));
    heartbeatTick(session);
    EXPECT_EQ(session.clockSample.get().second, 16);
    EXPECT_EQ(session.line.tickCounter(), 1);
}

TEST_F(Heartbeat, CounterOutOfRangeStartsANewCycle) {
    session.line.setTickCounter(25);
    EXPECT_TRUE(heartbeatTick(session).slowStatus);
    EXPECT_EQ(session.line.tickCounter(), 0);
}

TEST_F(Heartbeat, HandsOverTheNoticeOnceAndThePendingKey) {
    session.reports.noticeChanged.store(true);
    session.line.setPendingFunctionKey(0x72);
    HeartbeatTick first = heartbeatTick(session);
    EXPECT_TRUE(first.noticeChanged);
    EXPECT_EQ(first.functionKey, 0x72);
    // The key stays until the window has run it; the notice is handed over once.
    HeartbeatTick second = heartbeatTick(session);
    EXPECT_FALSE(second.noticeChanged);
    EXPECT_EQ(second.functionKey, 0x72);
}

}  // namespace
}  // namespace fenta21::test
