// fenta21-cli csv and view run as programs on data files from the image builder.
#include "sim/image/DataImage.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"

#include <sys/stat.h>

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

class CliDataFile : public ::testing::Test {
protected:
    CliDataFile() {
        for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
            fs::copy_file(entry.path(), home.file(entry.path().filename().string()));
    }
    std::string imageFromGolden(const std::string& name) {
        std::string recipe = readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/csv/" + name + ".recipe");
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
    EXPECT_EQ(readFileBytes(csv), readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/csv/channel_added.csv"));

    auto again = cli({"csv", data});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.err, HasSubstr("exists and was kept"));
    EXPECT_EQ(cli({"csv", "--skip-existing", data}).exitCode, 0);
    std::ofstream(csv) << "stale";
    EXPECT_EQ(cli({"csv", "--overwrite", data}).exitCode, 0);
    EXPECT_NE(readFileBytes(csv), "stale");
    EXPECT_EQ(cli({"csv", "--overwrite", "--skip-existing", data}).exitCode, 2);
}

TEST_F(CliDataFile, BadRecordsStopWithoutYesAndAreLeftOutWithIt) {
    std::string data = imageFromGolden("bad_record_yes");
    auto stopped = cli({"csv", data});
    EXPECT_EQ(stopped.exitCode, 1);
    auto converted = cli({"csv", "--yes", "--overwrite", data});
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_EQ(readFileBytes(home.root() + "/bad_record_yes.csv"),
              readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/csv/bad_record_yes.csv"));
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

TEST_F(CliDataFile, ViewRefusesAPagePastTheEndAndAFileThatIsNoDataFile) {
    std::string data = imageFromGolden("channel_added");
    auto past = cli({"view", "--page", "2", data});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_EQ(past.out, "");
    EXPECT_THAT(past.err, HasSubstr(data + " has 1 page of records: there is no page 2"));

    std::string text = home.root() + "/notes.v38";
    std::ofstream(text) << std::string(40, '-') << "\nwind at the pier, read by hand\n" << std::string(1000, '.');
    for (const auto& args : {std::vector<std::string>{"view", text}, {"view", "--header", text}}) {
        auto refused = cli(args);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_THAT(refused.err, HasSubstr(text + " is not a data file: its record area would start at 0x"));
    }
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

// A pipe would wait for a writer for ever and a device never ends: neither is read, a folder
// is refused the same way, and no CSV appears beside any of them. The outer limit only turns
// a wait that would never end into a failure; a refusal takes no time.
TEST_F(CliDataFile, CsvConvertsOnlyRegularFiles) {
    std::string pipe = home.root() + "/pipe.v38";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string folder = home.root() + "/folder.v38";
    fs::create_directory(folder);
    std::string device = home.root() + "/null.v38";
    fs::create_symlink("/dev/null", device);
    for (const std::string& file : {pipe, folder, device}) {
        auto csv = runProcess({"/usr/bin/timeout", "60", FENTA21_CLI_PATH, "--home", home.path(), "csv", file}, {},
                              home.root());
        EXPECT_EQ(csv.exitCode, 1) << file << "\n" << csv.err;
        EXPECT_THAT(csv.err, HasSubstr(file + ": the data file is ")) << file;
        EXPECT_FALSE(fs::exists(file.substr(0, file.size() - 4) + ".csv")) << file;
    }
}

TEST_F(CliDataFile, OverwriteNeverReplacesAGoodCsvWithAFailedConversion) {
    std::string data = imageFromGolden("channel_added");
    std::string csv = home.root() + "/channel_added.csv";
    ASSERT_EQ(cli({"csv", data}).exitCode, 0);
    std::string good = readFileBytes(csv);
    std::ofstream(data, std::ios::binary | std::ios::trunc).flush();  // the data file is empty today
    auto again = cli({"csv", "--overwrite", data});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.err, HasSubstr("the CSV file that was there is kept as it was"));
    EXPECT_EQ(readFileBytes(csv), good);
}

TEST_F(CliDataFile, AModelCodeNeverReachesTheTerminalRaw) {
    sim::ImageRecipe recipe = sim::parseImageRecipe("model WNDA-01\ninstants 1\nchannel 0 20 5 1\n").recipe;
    recipe.modelCode = "\x1b]0;owned\x07";
    std::string data = home.root() + "/escape.v38";
    std::ofstream(data, std::ios::binary) << sim::buildDataImage(recipe);
    auto csv = cli({"csv", data});
    EXPECT_EQ(csv.exitCode, 1);
    EXPECT_THAT(csv.err, HasSubstr("\"\\x1B]0;owned\\x07\""));
    EXPECT_EQ(csv.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(csv.err.find('\x07'), std::string::npos);
}

}  // namespace
}  // namespace fenta21::test
