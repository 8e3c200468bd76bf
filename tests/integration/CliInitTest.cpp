// fenta21-cli init makes a home from nothing that a first collection can use, with the data
// program in its option list, and collect --json describes what that collection stored.
#include "core/app/OptionPrograms.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

// Six instants of two wind channels behind two start markers: twelve records from 00:00 to
// 00:50.
constexpr const char* kRecipe =
    "model WNDA-01\n"
    "station KAWABE-01\n"
    "first 2026-04-01 00:00:00\n"
    "interval 600\n"
    "instants 6\n"
    "start-markers 2\n"
    "channel 0 20 35 1\n"
    "channel 2 22 80 2\n";

TEST(CliInit, MakesAHomeThatCollectsAndKeepsWhatIsThere) {
    TempHome scratch;
    const std::string home = scratch.root() + "/station/home";
    ProcessResult made = runProcess({FENTA21_CLI_PATH, "init", home}, {}, scratch.root());
    ASSERT_EQ(made.exitCode, 0) << made.err;
    for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR)) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(readFileBytes(home + "/" + name), readFileBytes(entry.path().string())) << name;
        EXPECT_THAT(made.out, HasSubstr("made " + home + "/" + name + "\n"));
    }
    EXPECT_TRUE(fs::is_directory(scratch.root() + "/station/data"));
    // fenta21's option list offers the data program, and its launcher starts it.
    std::vector<OptionProgram> options = scanOptionPrograms(home);
    ASSERT_EQ(options.size(), 1u);
    EXPECT_EQ(options[0].displayName, "ﾃﾞｰﾀｸﾞﾗﾌ");
    EXPECT_EQ(options[0].programFile, "fenta21-data.exe");
    ProcessResult started = runProcess({home + "/fenta21-data.exe", "--version"}, {}, scratch.root());
    EXPECT_EQ(started.exitCode, 0) << started.err;
    EXPECT_THAT(started.out, HasSubstr("fenta21-data "));

    // A second init, here through --home, overwrites nothing.
    std::ofstream(home + "/cmd.dat", std::ios::trunc) << "edited";
    ProcessResult again = runProcess({FENTA21_CLI_PATH, "--home", home, "init"}, {}, scratch.root());
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("kept " + home + "/cmd.dat (already there)\n"));
    EXPECT_THAT(again.out, ::testing::Not(HasSubstr("made ")));
    EXPECT_EQ(readFileBytes(home + "/cmd.dat"), "edited");

    scratch.write("recipe.txt", kRecipe);
    const std::string link = scratch.root() + "/ttyLOGGER";
    BackgroundProcess simulator({FENTA21_SIM_PATH, "--link", link, "--name", "KAWABE-01", "--image-recipe",
                                 scratch.file("recipe.txt")},
                                scratch.root() + "/sim.log");
    ASSERT_TRUE(BackgroundProcess::waitForPath(link));
    ProcessResult collected = runProcess({FENTA21_CLI_PATH, "--home", home, "collect", "--json", "--device", link},
                                         {{"FENTA21_TIME_SCALE", "0.05"}}, scratch.root());
    ASSERT_EQ(collected.exitCode, 0) << collected.err;

    nlohmann::json result = nlohmann::json::parse(collected.out);
    EXPECT_EQ(result["command"], "collect");
    EXPECT_EQ(result["exitStatus"], 0);
    EXPECT_EQ(result["result"], 1);
    EXPECT_EQ(result["message"], "");
    ASSERT_EQ(result["files"].size(), 1u) << collected.out;
    const nlohmann::json& file = result["files"][0];
    std::string path = file["path"];
    EXPECT_THAT(path, ::testing::MatchesRegex(scratch.root() + "/station/data/KAWABE-01_[0-9]{6}_[0-9]{4}\\.v38"));
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(file["records"], 12);
    EXPECT_EQ(file["firstRecord"], "2026-04-01T00:00:00");
    EXPECT_EQ(file["lastRecord"], "2026-04-01T00:50:00");
    EXPECT_EQ(file["csv"], path.substr(0, path.size() - 4) + ".csv");
    EXPECT_GT(fs::file_size(std::string(file["csv"])), 0u);

    // Nothing new the second time: the result code and its message, no file.
    ProcessResult nothing = runProcess({FENTA21_CLI_PATH, "--home", home, "--json", "collect", "--device", link},
                                       {{"FENTA21_TIME_SCALE", "0.05"}}, scratch.root());
    nlohmann::json second = nlohmann::json::parse(nothing.out);
    EXPECT_EQ(second["exitStatus"], 4);
    EXPECT_EQ(second["result"], 104);
    EXPECT_EQ(second["message"], "前回のデータ回収時以降に新しく記録されているデータがありません!!");
    EXPECT_TRUE(second["files"].empty());
}

}  // namespace
}  // namespace fenta21::test
