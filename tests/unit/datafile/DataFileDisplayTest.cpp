#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/base/Files.h"
#include "core/app/DataFileDisplay.h"
#include "core/datafile/DataFileMessages.h"
#include "sim/image/DataImage.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21 {
namespace {

class DataFileDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        test::installConfiguration(home);
        std::filesystem::create_directories(dataFolder);
        session.models.loadModelTable();
    }

    std::string dataFile(const std::string& name) {
        sim::ImageRecipe recipe;
        recipe.modelCode = "WNDA-01";
        recipe.instants = 2;
        recipe.channels = {{0, 20, 53, 7}};
        writeFileAtomically(dataFolder + name, sim::buildDataImage(recipe));
        return dataFolder + name;
    }

    test::TempHome home;
    std::string dataFolder = resolveDataFolder(home.path(), "");
    test::ScriptedHost host;
    test::TestClock clock;
    Session session{home.path(), host, clock};
};

TEST_F(DataFileDisplay, WithoutAPreviousCollectionStartsInTheDataFolderWithNoName) {
    EXPECT_EQ(displayDataFile(session), "");  // the dialog is cancelled
    ASSERT_EQ(host.openRequests().size(), 1u);
    const OpenFileRequest request = host.openRequests().front();
    EXPECT_EQ(request.folder, dataFolder);
    EXPECT_EQ(request.name, "");
    EXPECT_EQ(request.filter, kDisplayFileFilter);
    EXPECT_FALSE(request.multiple);
    EXPECT_TRUE(host.openedFiles().empty());
}

TEST(DataFileDisplayRequest, OffersTheLastCollectionsCsvBesideIt) {
    const struct {
        const char* lastDataFile;
        const char* folder;
        const char* name;
    } rows[] = {
        {"/srv/data/STA01.v38", "/srv/data", "STA01.csv"},
        {"/srv/data/STA01.V38", "/srv/data", "STA01.csv"},
        {"/srv/data/STA01", "/srv/data", "STA01.csv"},
        {"/srv/data.2024/STA01", "/srv/data.2024", "STA01.csv"},
        // A text collection's file is offered as itself.
        {"/srv/data/STA01.txt", "/srv/data", "STA01.txt"},
    };
    for (const auto& row : rows) {
        OpenFileRequest request = dataFileDisplayRequest(row.lastDataFile, "/home/data/");
        EXPECT_EQ(request.folder, row.folder) << row.lastDataFile;
        EXPECT_EQ(request.name, row.name) << row.lastDataFile;
    }
}

TEST_F(DataFileDisplay, ADataFileWithoutItsCsvIsConvertedOnYesAndShown) {
    std::string v38 = dataFile("X.v38");
    host.openFiles.push_back({v38});
    host.answers.push_back(Answer::Yes);

    EXPECT_EQ(displayDataFile(session), dataFolder + "X.csv");
    EXPECT_EQ(host.questions(), std::vector<std::string>{kCreateCsvQuestion});
    EXPECT_NE(test::readFileBytes(dataFolder + "X.csv").find("date,time,"), std::string::npos);
    EXPECT_EQ(host.openedFiles(), std::vector<std::string>{dataFolder + "X.csv"});
}

TEST_F(DataFileDisplay, NoToMakingTheCsvBringsTheDialogBackAndMakesNothing) {
    host.openFiles.push_back({dataFile("X.v38")});
    host.answers.push_back(Answer::No);  // then the second dialog is cancelled

    EXPECT_EQ(displayDataFile(session), "");
    EXPECT_EQ(host.openRequests().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(dataFolder + "X.csv"));
    EXPECT_TRUE(host.openedFiles().empty());
}

TEST_F(DataFileDisplay, AnExistingCsvIsShownWithoutAsking) {
    std::string v38 = dataFile("X.v38");
    writeFileAtomically(dataFolder + "X.csv", "kept\r\n");
    host.openFiles.push_back({v38});

    EXPECT_EQ(displayDataFile(session), dataFolder + "X.csv");
    EXPECT_TRUE(host.questions().empty());
    EXPECT_EQ(test::readFileBytes(dataFolder + "X.csv"), "kept\r\n");
}

TEST_F(DataFileDisplay, ATextFileThatIsNotThereBringsTheDialogBack) {
    writeFileAtomically(dataFolder + "there.txt", "text");
    host.openFiles.push_back({dataFolder + "gone.txt"});
    host.openFiles.push_back({dataFolder + "there.txt"});

    EXPECT_EQ(displayDataFile(session), dataFolder + "there.txt");
    EXPECT_EQ(host.openRequests().size(), 2u);
    EXPECT_EQ(host.openedFiles(), std::vector<std::string>{dataFolder + "there.txt"});
}

TEST_F(DataFileDisplay, ACsvThatCannotBeMadeIsReportedAndNotShown) {
    // A ".dat" file has no ".v38" beside it to make the CSV from.
    writeFileAtomically(dataFolder + "X.dat", "x");
    host.openFiles.push_back({dataFolder + "X.dat"});
    host.answers.push_back(Answer::Yes);

    EXPECT_EQ(displayDataFile(session), "");
    EXPECT_EQ(host.reports(), std::vector<std::string>{kCsvAbortedMessage});
    EXPECT_TRUE(host.openedFiles().empty());
}

TEST(ViewerFileChoice, AsksAgainUntilADataFileIsChosen) {
    test::ScriptedHost host;
    host.openFiles.push_back({"/d/A.csv"});
    host.openFiles.push_back({"/d/A.V38"});
    EXPECT_EQ(chooseViewerFile(host, "/d/"), "/d/A.V38");
    ASSERT_EQ(host.openRequests().size(), 2u);
    EXPECT_EQ(host.openRequests()[1].folder, "/d/");
    EXPECT_EQ(host.openRequests()[1].filter, kDataFileFilter);

    EXPECT_EQ(chooseViewerFile(host, "/d/"), "");  // cancelled
}

}  // namespace
}  // namespace fenta21
