// Two programs on one station: a second scheduler of a home folder is refused and told which
// process runs it, and a port another program holds is said with that program's process id,
// on stderr and in ERR.LOG. The real fenta21-cli against the simulated logger in this process.
#include "core/base/Cp932.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;

const std::map<std::string, std::string> kFastClock{{"FENTA21_TIME_SCALE", "0.05"}};

class CliOneHolder : public ::testing::Test {
protected:
    CliOneHolder() { installConfiguration(home); }
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, kFastClock, home.root());
    }
    // Waits a bounded while for the text in the program's output.
    static bool waitForOutput(const BackgroundProcess& process, const std::string& text) {
        for (int i = 0; i < 500; ++i) {
            if (process.output().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempHome home;
};

TEST_F(CliOneHolder, ASecondSchedulerOfAHomeIsRefusedWithTheFirstsProcessId) {
    BackgroundProcess first({FENTA21_CLI_PATH, "--home", home.path(), "schedule"}, home.root() + "/first.log",
                            kFastClock);
    ASSERT_TRUE(waitForOutput(first, "schedule: running")) << first.output();

    ProcessResult second = cli({"schedule"});
    EXPECT_EQ(second.exitCode, 5) << second.err;
    EXPECT_THAT(second.err, HasSubstr("are run by fenta21-cli (process " + std::to_string(first.pid()) + ") already"));
    EXPECT_EQ(second.err.find("schedule: running"), std::string::npos) << second.err;

    // Once the first has stopped, the home's reservations are free to be run again.
    EXPECT_EQ(first.stop(SIGTERM), 0) << first.output();
    BackgroundProcess third({FENTA21_CLI_PATH, "--home", home.path(), "schedule"}, home.root() + "/third.log",
                            kFastClock);
    EXPECT_TRUE(waitForOutput(third, "schedule: running")) << third.output();
    EXPECT_EQ(third.stop(SIGTERM), 0) << third.output();
}

TEST_F(CliOneHolder, APortAnotherProgramHoldsIsSaidWithItsProcessIdAndLogged) {
    const std::string link = home.root() + "/ttyLOGGER";
    sim::SimLogger logger;
    sim::PtyServer server(link, logger);
    ASSERT_TRUE(server.start()) << server.error();
    home.write("comports.txt", "COM1 " + link + "\n");
    // This process holds the port the way every copy of the program does.
    int held = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    ProcessResult send = cli({"send", "--port", "COM1", "rome"});
    ::close(held);
    const std::string said = "(process " + std::to_string(::getpid()) + ") has it open";
    EXPECT_EQ(send.exitCode, 1);
    EXPECT_THAT(send.err, HasSubstr("通信ポート使用不可 !!   "));
    EXPECT_THAT(send.err, HasSubstr(said));
    // The log folds long entries into lines of its fixed width.
    EXPECT_THAT(cp932ToUtf8(home.read("ERR.LOG")), HasSubstr("(process " + std::to_string(::getpid()) + ")"));
}

}  // namespace
}  // namespace fenta21::test
