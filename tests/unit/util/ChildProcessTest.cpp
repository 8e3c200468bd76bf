// The helper-program runner: arguments reach the program as they stand, both output streams
// are kept, and a program that outlives its limit is killed.
#include "core/util/ChildProcess.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fenta21::test {
namespace {

using namespace std::chrono_literals;

TEST(ChildProcess, ArgumentsAreNeverReadAsShellSyntax) {
    TempHome home;
    std::string trap = home.file("touched");
    ChildResult result = runChild({"printf", "%s|%s|%s", "a b;c", "$(touch " + trap + ")", "`touch " + trap + "`"}, 10s);
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.output, "a b;c|$(touch " + trap + ")|`touch " + trap + "`");
    EXPECT_FALSE(std::filesystem::exists(trap));
}

TEST(ChildProcess, BothStreamsAndTheExitCodeAreKept) {
    ChildResult result = runChild({"sh", "-c", "echo out; echo err >&2; exit 3"}, 10s);
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.succeeded());
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, "out\nerr\n");
}

TEST(ChildProcess, AProgramThatCannotStartSaysWhy) {
    ChildResult result = runChild({"/nonexistent/mkfs.fat", "/dev/sdz"}, 10s);
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(result.succeeded());
    EXPECT_NE(result.problem.find("/nonexistent/mkfs.fat"), std::string::npos);
}

TEST(ChildProcess, AProgramPastItsLimitIsKilled) {
    // The child leaves a grandchild holding the output open: the limit still holds.
    ChildResult result = runChild({"sh", "-c", "sleep 600 & exec sleep 600"}, 200ms);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.timedOut);
    EXPECT_FALSE(result.succeeded());
    EXPECT_EQ(result.exitCode, 128 + 9);
}

TEST(ChildProcess, AGrandchildHoldingTheOutputDoesNotHoldUpTheChildsEnd) {
    ChildResult result = runChild({"sh", "-c", "echo started; sleep 3 & exit 0"}, 60s);
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.output, "started\n");
}

TEST(ChildProcess, TheFormatterIsFoundOutsideAnOrdinaryUsersPath) {
    const char* saved = std::getenv("PATH");
    std::string before = saved != nullptr ? saved : "";
    ::setenv("PATH", "/usr/bin:/bin", 1);
    std::string found = findProgram("mkfs.fat");
    ::setenv("PATH", before.c_str(), 1);
    EXPECT_EQ(found.front(), '/');
    EXPECT_TRUE(found.ends_with("/mkfs.fat"));
    EXPECT_EQ(findProgram("./local-tool"), "./local-tool");
}

}  // namespace
}  // namespace fenta21::test
