// Where the installation files are found, and a home folder made from them.
#include "core/app/InstallationFiles.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(InstallationFiles, AnInstallationBesideTheProgramComesFirstAndTheSourceTreeLast) {
    TempHome tree;
    const std::string prefix = tree.root() + "/opt/fenta21";
    std::vector<std::string> candidates = installationFolderCandidates(prefix + "/bin/fenta21-cli");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates.front(), prefix + "/share/fenta21");
    EXPECT_EQ(candidates.back(), FENTA21_CONFIG_DIR);

    // A folder without type.dat is no installation.
    fs::create_directories(prefix + "/share/fenta21");
    EXPECT_EQ(findInstallationFolder(candidates), FENTA21_CONFIG_DIR);
    writeFile(prefix + "/share/fenta21/type.dat", "x");
    EXPECT_EQ(findInstallationFolder(candidates), prefix + "/share/fenta21");
    EXPECT_EQ(findInstallationFolder({tree.root() + "/nowhere"}), "");
}

TEST(InstallationFiles, MakesTheHomeItsFilesAndTheDataFolderAndKeepsWhatIsThere) {
    TempHome tree;
    const std::string source = tree.root() + "/share";
    writeFile(source + "/type.dat", "types");
    writeFile(source + "/cmd.dat", "commands");
    fs::create_directories(source + "/not-a-file");
    const std::string home = tree.root() + "/stations/kawabe";

    HomeSetup first = makeHomeFolder(home, source);
    EXPECT_EQ(first.problem, "");
    EXPECT_THAT(first.made, ElementsAre(tree.root() + "/stations/", home + "/", home + "/cmd.dat", home + "/type.dat",
                                        tree.root() + "/stations/data/"));
    EXPECT_EQ(readFileBytes(home + "/type.dat"), "types");

    writeFile(home + "/cmd.dat", "the user's own");
    HomeSetup second = makeHomeFolder(home, source);
    EXPECT_EQ(second.problem, "");
    EXPECT_THAT(second.made, ElementsAre());
    EXPECT_THAT(second.kept, ElementsAre(home + "/cmd.dat", home + "/type.dat"));
    EXPECT_EQ(readFileBytes(home + "/cmd.dat"), "the user's own");
}

TEST(InstallationFiles, AFileWhereTheHomeShouldBeIsAProblem) {
    TempHome tree;
    writeFile(tree.root() + "/share/type.dat", "types");
    writeFile(tree.root() + "/taken", "a file");
    HomeSetup setup = makeHomeFolder(tree.root() + "/taken/home", tree.root() + "/share");
    EXPECT_THAT(setup.problem, ::testing::HasSubstr("cannot make the folder " + tree.root() + "/taken"));
    EXPECT_EQ(readFileBytes(tree.root() + "/taken"), "a file");
    EXPECT_THAT(makeHomeFolder(tree.root() + "/home", tree.root() + "/missing").problem,
                ::testing::HasSubstr("cannot list the installation files"));
}

}  // namespace
}  // namespace fenta21::test
