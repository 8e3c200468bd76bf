#include "core/panel/PcClock.h"

#include "core/panel/PanelContext.h"
#include "core/panel/SettingsReading.h"
#include "core/protocol/CommandExchange.h"

#include <chrono>
#include <cstdio>

namespace fenta21 {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);
// Long enough for any running clock to reach its next second; a clock that stands still
// (a test's frozen calendar) is taken as it is rather than waited for forever.
constexpr auto kLongestWait = std::chrono::milliseconds(1500);

CalendarTime atNextSecond(const Clock& clock) {
    const CalendarTime start = clock.localTime();
    // The wait is bounded in real time, since the calendar runs in real time however the
    // sleeps are scaled.
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    for (;;) {
        CalendarTime now = clock.localTime();
        if (now != start || std::chrono::steady_clock::now() >= deadline) return now;
        clock.sleepFor(kPollInterval);
    }
}

}  // namespace

int setLoggerClockFromPc(PanelContext& session) {
    CalendarTime t = atNextSecond(session.clock);
    char command[64];
    std::snprintf(command, sizeof command, "time=%02d%02d%02d%02d%02d%02d", t.year % 100, t.month, t.day, t.hour,
                  t.minute, t.second);
    std::string reply;
    return sendCommandReport(session, command, reply, kLongReplyMax);
}

}  // namespace fenta21
