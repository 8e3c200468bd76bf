// fenta21-cli csv and view run as programs on data files from the image builder.
#include "sim/image/DataImage.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class CliDataFile : public ::testing::Test {
protected:
    CliDataFile() {
        for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
            fs::copy_file(entry.path(), home.file(entry.path().filename().string()));
    }
    std::string imageFromGolden(const std::string& name) {
        std::string recipe = readFile(std::string(FENTA21_GOLDEN_DIR) + "/csv/" + name + ".recipe");
        std::string path = home.root() + "/" + name + ".v38";
        std::ofstream(path, std::ios::binary) << sim::buildDataImage(sim::parseImageRecipe(recipe).recipe);
        return path;
    }
    ProcessResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, {}, home.root());
    }

    TempHome home;
};

TEST_F(CliDataFile, CsvWritesTheSameBytesAsTheGoldenFileAndMindsExistingOnes) {
    std::string data = imageFromGolden("channel_added");
    std::string csv = home.root() + "/channel_added.csv";
    auto first = cli({"csv", data});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, csv + "\n");
    EXPECT_EQ(readFile(csv), readFile(std::string(FENTA21_GOLDEN_DIR) + "/csv/channel_added.csv"));

    auto again = cli({"csv", data});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.err, HasSubstr("exists and was kept"));
    EXPECT_EQ(cli({"csv", "--skip-existing", data}).exitCode, 0);
    std::ofstream(csv) << "stale";
    EXPECT_EQ(cli({"csv", "--overwrite", data}).exitCode, 0);
    EXPECT_NE(readFile(csv), "stale");
    EXPECT_EQ(cli({"csv", "--overwrite", "--skip-existing", data}).exitCode, 2);
}

TEST_F(CliDataFile, BadRecordsStopWithoutYesAndAreLeftOutWithIt) {
    std::string data = imageFromGolden("bad_record_yes");
    auto stopped = cli({"csv", data});
    EXPECT_EQ(stopped.exitCode, 1);
    auto converted = cli({"csv", "--yes", "--overwrite", data});
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(readFile(home.root() + "/bad_record_yes.csv"),
              readFile(std::string(FENTA21_GOLDEN_DIR) + "/csv/bad_record_yes.csv"));
}

TEST_F(CliDataFile, ViewPrintsHeaderItemsAndRecordPages) {
    std::string data = imageFromGolden("channel_added");
    auto header = cli({"view", "--header", data});
    ASSERT_EQ(header.exitCode, 0) << header.err;
    EXPECT_THAT(header.out, testing::ContainsRegex("(^|\n)00017E\t[^\t]*\tLVPQ-01\n"));

    auto page = cli({"view", "--page", "1", data});
    ASSERT_EQ(page.exitCode, 0) << page.err;
    std::istringstream rows(page.out);
    std::string row;
    int count = 0;
    const std::regex shape("[0-9A-F]{6}\t[0-9A-F]{16}\t.*");
    while (std::getline(rows, row)) {
        EXPECT_TRUE(std::regex_match(row, shape)) << row;
        ++count;
    }
    // The record area's measurements: six instants of two channels, the third from instant 3.
    EXPECT_EQ(count, 15);
    EXPECT_THAT(page.out, testing::ContainsRegex("^000280\t[0-9A-F]{16}\t[^\n]+\n"));
    EXPECT_EQ(cli({"view", "--page", "2", data}).out, "");
    EXPECT_EQ(cli({"view", "--page", "0", data}).exitCode, 2);
}

TEST_F(CliDataFile, CorruptFilesGiveTheMessageAndAFailureNeverACrash) {
    std::string shortFile = home.root() + "/short.v38";
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\x07');
    std::string upsideDown = home.root() + "/upside.v38";
    std::string image = sim::buildDataImage(sim::parseImageRecipe("model WNDA-01\ninstants 3\nchannel 0 20 5 1\n").recipe);
    image[2] = 0x10, image[3] = image[4] = image[5] = 0;  // endOffset below startOffset
    std::ofstream(upsideDown, std::ios::binary) << image;
    for (const std::string& file : {shortFile, upsideDown, home.root() + "/missing.v38"}) {
        auto csv = cli({"csv", file});
        EXPECT_EQ(csv.exitCode, 1) << file;
        EXPECT_FALSE(csv.err.empty()) << file;
        auto view = cli({"view", file});
        EXPECT_LT(view.exitCode, 128) << file;  // no signal
    }
}

}  // namespace
}  // namespace fenta21::test
