// fenta21-cli collect run as a program against the simulator program, and the block receiver
// against an independent XMODEM-1K sender.
#include "core/collect/CollectResult.h"
#include "core/collect/CollectionSession.h"
#include "core/collect/Receivers.h"
#include "sim/image/DataImage.h"
#include "tests/support/Process.h"
#include "tests/support/SimLine.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(CliCollect, WritesTheFilesPrintsTheirPathsAndThenHasNothingNew) {
    TempHome home;
    fs::create_directory(home.root() + "/data");
    for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
        fs::copy_file(entry.path(), home.file(entry.path().filename().string()));
    std::string link = home.root() + "/ttyLOGGER";
    BackgroundProcess simulator({FENTA21_SIM_PATH, "--link", link, "--name", "KAWABE-01"}, home.root() + "/sim.log");
    ASSERT_TRUE(BackgroundProcess::waitForPath(link));
    home.write("comports.txt", "COM1 " + link + "\n");
    std::map<std::string, std::string> env{{"FENTA21_TIME_SCALE", "0.05"}};

    auto first = runProcess({FENTA21_CLI_PATH, "--home", home.path(), "collect"}, env, home.root());
    ASSERT_EQ(first.exitCode, 0) << first.err;
    auto paths = lines(first.out);
    ASSERT_EQ(paths.size(), 2u) << first.out;
    EXPECT_THAT(paths[0], testing::MatchesRegex(".*/data/KAWABE-01_[0-9]{6}_[0-9]{4}\\.v38"));
    EXPECT_EQ(fs::path(paths[1]).extension(), ".csv");
    EXPECT_TRUE(fs::exists(paths[0]));
    EXPECT_GT(fs::file_size(paths[1]), 0u);
    EXPECT_THAT(first.err, HasSubstr("Total"));

    auto second = runProcess({FENTA21_CLI_PATH, "--home", home.path(), "collect", "--port", "COM1", "--speed", "5"},
                             env, home.root());
    EXPECT_EQ(second.exitCode, 4);
    EXPECT_THAT(second.err, HasSubstr("前回のデータ回収時以降に新しく記録されているデータがありません!!"));

    auto all = runProcess({FENTA21_CLI_PATH, "--home", home.path(), "collect", "--all", "--device", link}, env,
                          home.root());
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(runProcess({FENTA21_CLI_PATH, "--home", home.path(), "collect", "--all", "--text"}, env, home.root())
                  .exitCode,
              2);
}

// Debian's lrzsz sends the blocks in the logger's place: the receiver must take them from an
// XMODEM sender it did not write.
class IndependentSender : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists("/usr/bin/sx")) GTEST_SKIP() << "lrzsz is not installed (scripts/install-deps.sh installs it)";
        fs::create_directory(line.home.root() + "/data");
    }
    static std::string image(int instants, std::vector<sim::ImageChannel> channels) {
        sim::ImageRecipe recipe;
        recipe.instants = instants;
        recipe.channels = std::move(channels);
        return sim::buildDataImage(recipe);
    }
    // Collects "acopy" over a line whose blocks `sx -k` sends from a file holding `sent`.
    int collectFromSx(const std::string& sent) {
        std::string imageFile = line.home.root() + "/image.bin";
        std::ofstream(imageFile, std::ios::binary) << sent;
        line.logger.handOffCopyTo({"/usr/bin/sx", "-k", imageFile});
        line.session->settings.dataFileName = "SX";
        if (line.open() != 1) return -1;
        line.session->line.setState(LineState::Linked);
        line.session->line.setCollectCommand(CollectCommand::AllCopy);
        return collect(*line.session, -1);
    }
    SimLine line;
};

TEST_F(IndependentSender, LrzszSxIsAcceptedLikeTheLoggersOwnSender) {
    std::string sent = image(700, {{0, 20, 10, 1, 0}, {1, 22, 0, 5, 0}});
    line.logger.setMemoryImage(sent);
    ASSERT_EQ(collectFromSx(sent), kCollectOk);
    EXPECT_EQ(readFileBytes(line.session->line.lastDataFile.get()), sent);
    EXPECT_EQ(line.logger.clearCount(), 1);
}

// sx announced more than it sends: its end is answered with NAK once, and sx, having really
// finished, sends EOT again. The file is stored; the logger is not told to clear.
TEST_F(IndependentSender, LrzszSxConfirmsAnEarlyEndAndNothingIsCleared) {
    std::string sent = image(300, {{0, 20, 10, 1, 0}});
    line.logger.setReply("acopy", std::to_string(sent.size() + 4096));  // no image of its own: sx sends
    ASSERT_EQ(collectFromSx(sent), kCollectOk);
    EXPECT_EQ(readFileBytes(line.session->line.lastDataFile.get()), sent);
    EXPECT_EQ(line.logger.clearCount(), 0);
    EXPECT_THAT(line.host.reports(), testing::ElementsAre(kNotClearedMessage));
}

}  // namespace
}  // namespace fenta21::test
