// fenta21-cli panel, set and terminal, run as programs against the simulator program.
#include "core/panel/PanelItems.h"
#include "core/panel/PanelNavigation.h"
#include "core/protocol/ModelKinds.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ctime>
#include <sstream>

namespace fenta21::test {
namespace {

const std::map<std::string, std::string> kFastClock{{"FENTA21_TIME_SCALE", "0.05"}};

class PanelCli : public ::testing::Test {
protected:
    void SetUp() override { installConfiguration(home); }
    void startSimulator(const std::string& model) {
        simulator = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{FENTA21_SIM_PATH, "--link", link, "--model", model, "--no-image"},
            home.root() + "/sim-" + model + ".log");
        ASSERT_TRUE(BackgroundProcess::waitForPath(link));
        home.write("comports.txt", "COM1 " + link + "\n");
    }
    ProcessResult cli(std::vector<std::string> args, const std::string& input = "") {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        if (input.empty()) return runProcess(argv, kFastClock, home.root());
        // The program reads stdin: feed it a file through the shell.
        home.write("stdin.txt", input);
        std::string command;
        for (const auto& arg : argv) command += "'" + arg + "' ";
        return runProcess({"/bin/sh", "-c", command + "< '" + home.file("stdin.txt") + "'"}, kFastClock, home.root());
    }
    std::string sendOne(const std::string& command) {
        ProcessResult result = cli({"send", "--port", "COM1", "--speed", "5", command});
        std::string out = result.out;
        if (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }

    TempHome home;
    std::string link = home.root() + "/ttyLOGGER";
    std::unique_ptr<BackgroundProcess> simulator;
};

std::vector<std::string> firstColumn(const std::string& out) {
    std::vector<std::string> names;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) names.push_back(line.substr(0, line.find('\t')));
    return names;
}

TEST_F(PanelCli, PanelPrintsEveryItemTheModelHas) {
    for (const char* model : {"WNDA-01", "LVLA-01", "RS8-04", "SEAL-01", "CMLOGR-01"}) {
        startSimulator(model);
        ProcessResult result = cli({"panel", "--port", "COM1", "--speed", "5"});
        ASSERT_EQ(result.exitCode, 0) << model << "\n" << result.err;
        std::vector<std::string> expected;
        for (int item : modelItems(modelKindNumber(model))) {
            std::string name = panelItemName(item);
            expected.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
        }
        EXPECT_EQ(firstColumn(result.out), expected) << model;
        EXPECT_NE(result.out.find("ROM Version\tROM V2.10\n"), std::string::npos) << result.out;
        simulator.reset();
    }
}

TEST_F(PanelCli, PanelJsonHoldsTheItemsAndValuesOfItsLines) {
    startSimulator("WNDA-01");
    ProcessResult lines = cli({"panel", "--port", "COM1", "--speed", "5"});
    ProcessResult json = cli({"panel", "--json", "--port", "COM1", "--speed", "5"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    nlohmann::json result = nlohmann::json::parse(json.out);
    EXPECT_EQ(result["model"], "WNDA-01");
    std::string fromJson;
    for (const auto& item : result["items"])
        fromJson += std::string(item["item"]) + "\t" + std::string(item["value"]) + "\n";
    // The clock runs on between the two reads.
    auto withoutTime = [](const std::string& text) {
        std::string kept;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("Time\t", 0) != 0 && line.rfind("Date\t", 0) != 0 && line.rfind("Monitor", 0) != 0)
                kept += line + "\n";
        return kept;
    };
    EXPECT_EQ(withoutTime(fromJson), withoutTime(lines.out));
    EXPECT_GT(result["items"].size(), 5u);
}

TEST_F(PanelCli, PanelShowsTheValuesAsThePanelDoes) {
    startSimulator("WNDA-01");
    ProcessResult result = cli({"panel", "--port", "COM1", "--speed", "5"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("BATT\t[__********]\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Interval\t10min\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Preset Timer\tOFF\n"), std::string::npos) << result.out;
}

TEST_F(PanelCli, SetTimeNowTakesThePcClock) {
    startSimulator("WNDA-01");
    ASSERT_EQ(cli({"set", "--port", "COM1", "--speed", "5", "time", "2001-02-03", "04:05:06"}).exitCode, 0);
    ASSERT_EQ(sendOne("time").substr(0, 6), "010203");
    ProcessResult result = cli({"set", "--port", "COM1", "--speed", "5", "time", "now"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string reply = sendOne("time");
    std::time_t now = std::time(nullptr);
    std::tm logger{};
    ASSERT_EQ(reply.size(), 12u) << reply;
    logger.tm_year = 100 + std::stoi(reply.substr(0, 2));
    logger.tm_mon = std::stoi(reply.substr(2, 2)) - 1;
    logger.tm_mday = std::stoi(reply.substr(4, 2));
    logger.tm_hour = std::stoi(reply.substr(6, 2));
    logger.tm_min = std::stoi(reply.substr(8, 2));
    logger.tm_sec = std::stoi(reply.substr(10, 2));
    logger.tm_isdst = -1;
    EXPECT_LE(std::abs(std::difftime(now, std::mktime(&logger))), 1.0) << reply;
}

TEST_F(PanelCli, RefusedValuesExitTwoAndWriteNothing) {
    startSimulator("RGT1-01");
    ProcessResult rtc = cli({"set", "rtc-adjust", "64"});
    EXPECT_EQ(rtc.exitCode, 2);
    EXPECT_NE(rtc.err.find("-64 から 63 までの整数を入力してください。"), std::string::npos) << rtc.err;
    EXPECT_EQ(rtc.err.find("通信回線接続中"), std::string::npos) << "the line was opened";
    EXPECT_EQ(sendOne("radj"), "0");

    // What the model has is known only once it is read.
    ProcessResult offset = cli({"set", "--port", "COM1", "--speed", "5", "offset", "1.5"});
    EXPECT_EQ(offset.exitCode, 2);
    EXPECT_NE(offset.err.find("has no Offset"), std::string::npos) << offset.err;
    ProcessResult fixed = cli({"set", "--port", "COM1", "--speed", "5", "interval", "15min"});
    EXPECT_EQ(fixed.exitCode, 2);
    EXPECT_NE(fixed.err.find("has no Interval"), std::string::npos) << fixed.err;
    EXPECT_EQ(cli({"set", "frequency", "5"}).exitCode, 2);
    EXPECT_EQ(cli({"set", "memo", "7", "x"}).exitCode, 2);
    EXPECT_EQ(cli({"set", "time", "2001-02-30", "25:00:00"}).exitCode, 2);

    simulator.reset();
    startSimulator("WNDA-01");
    ProcessResult interval = cli({"set", "--port", "COM1", "--speed", "5", "interval", "15min"});
    EXPECT_EQ(interval.exitCode, 2);
    EXPECT_NE(interval.err.find("\"15min\" is not offered"), std::string::npos) << interval.err;
    EXPECT_EQ(sendOne("intv"), "17 10min");
}

TEST_F(PanelCli, SetWritesThroughThePanelsEnterAction) {
    startSimulator("RGT1-01");
    struct Row {
        std::vector<std::string> args;
        const char* printed;
        const char* query;
        const char* reply;
    } rows[] = {
        {{"preset-timer", "30min"}, "30min", "pretm", "30"},
        {{"after-start", "12/24", "18:00"}, "12/24 18:00", "after", "12241800"},
        {{"memo", "2", "KAWABE"}, "MEMO 1", "memo2", "KAWABE"},
        {{"rtc-adjust", "-12"}, "-12", "radj", "-12"},
        {{"mode", "3", "Disable"}, "最大瞬Disable", "mode2", "127 Disable"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"set", "--port", "COM1", "--speed", "5"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        ProcessResult result = cli(args);
        EXPECT_EQ(result.exitCode, 0) << row.args[0] << "\n" << result.err;
        EXPECT_EQ(result.out, std::string(row.printed) + "\n") << row.args[0];
        EXPECT_EQ(sendOne(row.query), row.reply) << row.args[0];
    }
}

TEST_F(PanelCli, SetOffsetAndIntervalOfAWaterLevelLogger) {
    startSimulator("LVLA-01");
    ProcessResult interval = cli({"set", "--port", "COM1", "--speed", "5", "interval", "15min"});
    EXPECT_EQ(interval.exitCode, 0) << interval.err;
    EXPECT_EQ(sendOne("intv"), "19 15min");
    ProcessResult offset = cli({"set", "--port", "COM1", "--speed", "5", "offset", "-1.5"});
    EXPECT_EQ(offset.exitCode, 0) << offset.err;
    EXPECT_EQ(offset.out, "-01.500m\n");
    // Beyond the logger's own bound: read, refused, not written.
    ProcessResult beyond = cli({"set", "--port", "COM1", "--speed", "5", "offset", "12"});
    EXPECT_EQ(beyond.exitCode, 2);
    EXPECT_NE(beyond.err.find("-10 から 10 までの数値"), std::string::npos) << beyond.err;
    EXPECT_EQ(sendOne("offs0"), "-1.5000");
}

TEST_F(PanelCli, TerminalSendsTypedLinesAndAsksBeforeClear) {
    startSimulator("WNDA-01");
    ProcessResult result = cli({"terminal", "--port", "COM1"}, "rome\nCLEAR\n!ACK\nbatt\n");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "ROM V2.10\n80\n");
    EXPECT_NE(result.err.find("全データを削除します。"), std::string::npos);

    ProcessResult yes = cli({"terminal", "--port", "COM1", "--yes"}, "CLEAR\n");
    EXPECT_EQ(yes.out, "?\n");  // the simulated logger knows no "CLEAR": what matters is that it went out
}

}  // namespace
}  // namespace fenta21::test
