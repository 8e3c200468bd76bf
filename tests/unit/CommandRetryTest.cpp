// How many reads a silent logger costs the command exchange: the fast path's five, then W
// reads for each of the R sendings of phase A and each of the R wake-ups of phase B.
#include "core/session/Session.h"
#include "core/protocol/CommandExchange.h"
#include "core/serial/Channel.h"
#include "tests/support/FakePort.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

struct RetryCase {
    int tries;
    int readsPerTry;
    int reads;
};

class SilentLoggerReads : public ::testing::TestWithParam<RetryCase> {};

TEST_P(SilentLoggerReads, AreExactlyTheFastPathAndPhasesAAndB) {
    TempHome home;
    ScriptedHost host;
    TestClock clock{0.001};
    Session session(home.path(), host, clock);
    session.createSerialChannel();
    auto script = std::make_shared<FakePort::Script>();
    script->silenceWaitsOutTheTimeout = true;
    TTYInfo* channel = session.channel();
    channel->env.openPort = [&](const std::string&, int&) { return std::make_unique<FakePort>(script); };
    channel->deviceOverride = "/dev/fake";
    ASSERT_EQ(openChannel(channel), 1);
    session.retry.tries = GetParam().tries;
    session.retry.readsPerTry = GetParam().readsPerTry;
    script->reads = 0;

    std::string reply;
    EXPECT_EQ(sendCommand(session, "rome", reply, 20), kNoReply);
    EXPECT_EQ(script->reads, GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(RetrySettings, SilentLoggerReads,
                         ::testing::Values(RetryCase{3, 1, 5 + 3 + 3}, RetryCase{5, 3, 5 + 15 + 15},
                                           RetryCase{1, 1, 5 + 1 + 1}));

}  // namespace
}  // namespace fenta21::test
