// fenta21-cli send, run as a program against the simulator program.
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

const std::map<std::string, std::string> kFastClock{{"FENTA21_TIME_SCALE", "0.05"}};

class CliSend : public ::testing::Test {
protected:
    void startSimulator(std::vector<std::string> options) {
        std::vector<std::string> argv{FENTA21_SIM_PATH, "--link", link};
        argv.insert(argv.end(), options.begin(), options.end());
        simulator = std::make_unique<BackgroundProcess>(argv, home.root() + "/sim.log");
        ASSERT_TRUE(BackgroundProcess::waitForPath(link));
        home.write("comports.txt", "COM1 " + link + "\n");
    }
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, kFastClock, home.root());
    }

    TempHome home;
    std::string link = home.root() + "/ttyLOGGER";
    std::unique_ptr<BackgroundProcess> simulator;
};

TEST_F(CliSend, PrintsEachReplyOnItsOwnLine) {
    startSimulator({"--reply", "rome=ROM V3.02", "--name", "KAWABE-01"});
    auto result = cli({"send", "rome", "eerm0", "clear"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "ROM V3.02\nKAWABE-01\nOK\n");
}

TEST_F(CliSend, SilentLoggerGivesTheTimeoutMessageAndExitOne) {
    startSimulator({"--silent"});
    auto result = cli({"send", "rome"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("コマンド応答　受信タイムアウト"), std::string::npos) << result.err;
    EXPECT_NE(home.read("ERR.LOG").find("D]"), std::string::npos);
}

TEST_F(CliSend, AnErrorLogThatCannotBeWrittenIsSaidOnceOnStderr) {
    startSimulator({"--silent"});
    std::filesystem::create_directory(home.file("ERR.LOG"));  // not a file: no entry can go in
    auto result = cli({"send", "rome", "batt"});
    EXPECT_EQ(result.exitCode, 1);
    const std::string said = "cannot write " + home.file("ERR.LOG") + " (Is a directory): its entries are lost";
    auto first = result.err.find(said);
    EXPECT_NE(first, std::string::npos) << result.err;
    EXPECT_EQ(result.err.find(said, first + 1), std::string::npos) << "said once:\n" << result.err;
    EXPECT_NE(result.err.find("コマンド応答　受信タイムアウト"), std::string::npos) << result.err;
}

TEST_F(CliSend, ErrorReplyMakesTheExitOneButLaterCommandsStillRun) {
    startSimulator({"--question", "batt"});
    auto result = cli({"send", "batt", "eerm0"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "FENTA21-SIM\n");
    EXPECT_NE(result.err.find("コマンド応答エラー(?] "), std::string::npos);
}

TEST_F(CliSend, UsesTheDeviceOptionAndTheSavedPortOtherwise) {
    startSimulator({});
    home.write("comports.txt", "COM4 " + link + "\n");
    EXPECT_EQ(cli({"send", "--device", link, "xerm0"}).out, "WNDA-01\n");
    EXPECT_EQ(cli({"send", "--port", "COM4", "xerm0"}).out, "WNDA-01\n");
    auto unmapped = cli({"send", "--port", "COM9", "xerm0"});
    EXPECT_EQ(unmapped.exitCode, 1);
    EXPECT_NE(unmapped.err.find("通信ポート使用不可"), std::string::npos);
}

TEST_F(CliSend, UsageErrorsExitTwo) {
    EXPECT_EQ(cli({"send"}).exitCode, 2);
    EXPECT_EQ(cli({"send", "--port", "COM0", "rome"}).exitCode, 2);
    EXPECT_EQ(cli({"send", "--speed", "10", "rome"}).exitCode, 2);
    EXPECT_EQ(cli({"send", "--port", "COM1", "--device", "/dev/null", "rome"}).exitCode, 2);
    EXPECT_EQ(cli({"nonsense"}).exitCode, 2);
    auto help = cli({"send", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--speed RATE"), std::string::npos);
}

}  // namespace
}  // namespace fenta21::test
