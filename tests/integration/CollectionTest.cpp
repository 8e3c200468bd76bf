// Binary and text collections over a pseudo-terminal against the simulated logger.
#include "core/collect/CollectResult.h"
#include "core/collect/CollectionSession.h"
#include "core/collect/Block.h"
#include "core/collect/Receivers.h"
#include "core/datafile/DataFileMessages.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "sim/image/DataImage.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

std::string windImage(int instants) {
    sim::ImageRecipe recipe;
    recipe.modelCode = "WNDA-01";
    recipe.instants = instants;
    recipe.channels = {{0, 20, 10, 1, 0}, {1, 72, 3, 0, 0}, {2, 22, 120, 0, 0}};
    return sim::buildDataImage(recipe);
}

int count(const std::vector<std::uint8_t>& bytes, std::uint8_t byte) {
    return static_cast<int>(std::count(bytes.begin(), bytes.end(), byte));
}

class Collection : public ::testing::Test {
protected:
    void SetUp() override {
        dataFolder = line.home.root() + "/data";
        fs::create_directory(dataFolder);
        line.session->settings.dataFileName = "KAWABE";
        line.logger.setMemoryImage(image);
        ASSERT_EQ(line.open(), 1);
        line.session->line.setState(LineState::Linked);
    }

    int collectWith(CollectCommand command) {
        line.session->line.setCollectCommand(command);
        return collect(*line.session, -1);
    }
    std::string collectedFile() const { return line.session->line.lastDataFile.get(); }
    std::vector<std::string> dataFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dataFolder)) names.push_back(entry.path().filename().string());
        return names;
    }
    std::string lastProgressText() const {
        auto modals = line.host.modals();
        return modals.empty() || modals.back().texts.empty() ? "" : modals.back().texts.back();
    }

    SimLine line;
    std::string image = windImage(2000);  // 6000 records: 47 blocks
    std::string dataFolder;
};

TEST_F(Collection, MultiBlockCollectionIsByteIdenticalAndClearedOnce) {
    std::vector<std::string> converted;
    line.session->csvConverter = [&](const std::string& path) {
        converted.push_back(path);
        return CsvFileResult{};
    };
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    std::string path = collectedFile();
    EXPECT_THAT(path, HasSubstr(dataFolder + "/KAWABE_261208_0930.v38"));
    std::string received = readFileBytes(path);
    EXPECT_GT(received.size(), 40u * kBlockPayload);
    EXPECT_EQ(received, line.logger.lastTransferImage());
    EXPECT_EQ(line.logger.clearCount(), 1);
    EXPECT_THAT(converted, testing::ElementsAre(path));
    EXPECT_THAT(dataFiles(), testing::ElementsAre("KAWABE_261208_0930.v38"));  // no temporary file left
    EXPECT_FALSE(line.logger.guardOpen());
    EXPECT_EQ(lastProgressText().rfind("Total ", 0), 0u);

    // Nothing recorded since: 104. Every record: collected again.
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectNothingNew);
    EXPECT_EQ(collectedFile(), "");
    line.host.saveFiles.clear();
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), image);
    EXPECT_EQ(line.logger.clearCount(), 2);
}

TEST_F(Collection, CountOf640IsNothingNewAnd641StartsATransferShownUpToAHundredPercent) {
    std::uint32_t end = static_cast<std::uint8_t>(image[2]) | static_cast<std::uint8_t>(image[3]) << 8 |
                        static_cast<std::uint8_t>(image[4]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(image[5])) << 24;
    line.logger.setCollectedMark(end);
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectNothingNew);
    EXPECT_EQ(count(line.logger.receivedControlBytes(), kStartCRC), 0);
    EXPECT_THAT(line.logger.receivedControlBytes(), Contains(kCAN));
    line.logger.setCollectedMark(end - 1);
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    // One padded 1024-byte block carries the 641 announced bytes.
    ASSERT_FALSE(line.host.modals().empty());
    EXPECT_THAT(line.host.modals().back().progress, testing::Each(testing::Le(100)));
    EXPECT_THAT(line.host.modals().back().progress, Contains(100));
}

TEST_F(Collection, CardCollectionGives105WithoutStarting) {
    sim::LoggerFaults faults;
    faults.cardCollectionRunning = true;
    line.logger.setFaults(faults);
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectCardBusy);
    EXPECT_EQ(count(line.logger.receivedControlBytes(), kStartCRC), 0);
    EXPECT_THAT(dataFiles(), testing::IsEmpty());
}

TEST_F(Collection, ErrorsBetweenGoodBlocksAddUpOnlyWhileConsecutive) {
    sim::BlockFaults faults;
    faults.badCrc = {{1, 4}, {2, 4}};
    line.logger.setBlockFaults(faults);
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), image);
    EXPECT_THAT(lastProgressText(), HasSubstr("Retry 0008"));
    EXPECT_EQ(count(line.logger.receivedControlBytes(), kNAK), 8);
}

TEST_F(Collection, FiveConsecutiveErrorsOfMixedKindsGive102AndTheLogLine) {
    sim::BlockFaults faults;
    // Block 3: a wrong start byte alone, then two CRC errors, then bad complements.
    faults.wrongStart = {{3, 1}};
    faults.wrongStartAlone = true;
    faults.badCrc = {{3, 3}};
    faults.badComplement = {{3, 5}};
    line.logger.setBlockFaults(faults);
    EXPECT_EQ(collectWith(CollectCommand::AllCopy), kCollectTransferFailed);
    EXPECT_THAT(line.logger.receivedControlBytes(), Contains(kCAN));
    EXPECT_THAT(line.home.read("ERR.LOG"), HasSubstr("rec.error rec.no 03 "));
    EXPECT_THAT(dataFiles(), testing::IsEmpty());
    EXPECT_EQ(line.logger.clearCount(), 0);
}

TEST_F(Collection, LostAckStillGivesAByteIdenticalFile) {
    sim::BlockFaults faults;
    faults.lostAck = {{2, 1}, {7, 2}};
    line.logger.setBlockFaults(faults);
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), image);
}

TEST_F(Collection, ShortXmodemBlockIsRefusedAndSentAgain) {
    sim::BlockFaults faults;
    faults.shortBlock = {{4, 1}};
    faults.wrongStart = {{9, 1}};
    line.logger.setBlockFaults(faults);
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), image);
}

TEST_F(Collection, CancelGives27AndLeavesNoFile) {
    line.host.cancelModals = true;
    EXPECT_EQ(collectWith(CollectCommand::AllCopy), kCancelled);
    EXPECT_THAT(dataFiles(), testing::IsEmpty());
    EXPECT_THAT(line.logger.receivedControlBytes(), Contains(kCAN));
    EXPECT_EQ(line.logger.clearCount(), 0);
}

TEST_F(Collection, StalledTransferFailsAndKeepsAnExistingDestination) {
    std::string destination = dataFolder + "/KAWABE_261208_0930.v38";
    std::ofstream(destination) << "an earlier collection";
    sim::BlockFaults faults;
    faults.stallAfter = 5;
    line.logger.setBlockFaults(faults);
    EXPECT_EQ(collectWith(CollectCommand::AllCopy), kCollectTransferFailed);
    EXPECT_EQ(readFileBytes(destination), "an earlier collection");
    EXPECT_THAT(line.home.read("ERR.LOG"), HasSubstr("time out error"));
    EXPECT_THAT(dataFiles(), testing::ElementsAre("KAWABE_261208_0930.v38"));
}

TEST_F(Collection, ClearRefusedStillSucceedsWithTheMessageAndTheCsv) {
    sim::LoggerFaults faults;
    faults.questionCommand = "clear";
    line.logger.setFaults(faults);
    int conversions = 0;
    line.session->csvConverter = [&](const std::string&) {
        ++conversions;
        return CsvFileResult{};
    };
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    EXPECT_THAT(line.host.reports(), Contains("データクリアに失敗しました。次回回収時に重複してデータ回収する可能性があります!!"));
    EXPECT_EQ(conversions, 1);
    EXPECT_EQ(line.logger.collectedMark(), static_cast<std::uint32_t>(sim::kHeaderAreaBytes));
}

TEST_F(Collection, SecondCopyInTheSameMinuteIsStoredBesideTheFirst) {
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    std::string first = collectedFile();
    std::string firstSent = line.logger.lastTransferImage();
    line.logger.setMemoryImage(windImage(2100));  // the logger has recorded more since
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    std::string second = collectedFile();
    EXPECT_EQ(fs::path(first).filename(), "KAWABE_261208_0930.v38");
    EXPECT_EQ(fs::path(second).filename(), "KAWABE_261208_0930_2.v38");
    EXPECT_EQ(readFileBytes(first), firstSent);
    EXPECT_EQ(readFileBytes(second), line.logger.lastTransferImage());
    EXPECT_NE(readFileBytes(first), readFileBytes(second));
    EXPECT_THAT(dataFiles(), testing::UnorderedElementsAre("KAWABE_261208_0930.v38", "KAWABE_261208_0930.csv",
                                                           "KAWABE_261208_0930_2.v38", "KAWABE_261208_0930_2.csv"));
    EXPECT_EQ(line.logger.clearCount(), 2);
}

// One noisy byte read as EOT where a block's STX was: NAKed, and the block comes again.
TEST_F(Collection, NoiseReadAsEotDoesNotEndTheTransfer) {
    sim::BlockFaults faults;
    faults.wrongStart = {{5, 1}};
    faults.wrongStartByte = kEOT;
    line.logger.setBlockFaults(faults);
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), image);
    EXPECT_EQ(line.logger.clearCount(), 1);
    EXPECT_TRUE(line.host.reports().empty());
}

// A logger that ends early and says so again when asked: what arrived is stored and
// converted, but the logger is not told to clear records that never arrived. The count it
// announced is its header and the new records only, while the blocks carry its memory from
// offset 0: with most records collected before, an end past the count can still be short of
// the last record.
TEST_F(Collection, EarlyEndThatTheLoggerConfirmsIsStoredWithoutClear) {
    const struct {
        std::uint32_t collectedMark;
        int blocks;
    } rows[] = {{sim::kHeaderAreaBytes, 10}, {sim::kHeaderAreaBytes, 0}, {40 * kBlockPayload, 20}};
    for (const auto& [mark, blocks] : rows) {
        SCOPED_TRACE(blocks);
        line.logger.setCollectedMark(mark);
        sim::BlockFaults faults;
        faults.earlyEotAfter = blocks;
        line.logger.setBlockFaults(faults);
        int conversions = 0;
        line.session->csvConverter = [&](const std::string&) {
            ++conversions;
            return CsvFileResult{};
        };
        int nakBefore = count(line.logger.receivedControlBytes(), kNAK);
        std::size_t reportsBefore = line.host.reports().size();
        line.host.saveFiles.clear();

        ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
        EXPECT_EQ(readFileBytes(collectedFile()), line.logger.lastTransferImage().substr(0, blocks * kBlockPayload));
        EXPECT_EQ(count(line.logger.receivedControlBytes(), kNAK) - nakBefore, 1);
        EXPECT_EQ(line.logger.clearCount(), 0);
        EXPECT_EQ(line.logger.collectedMark(), mark);
        EXPECT_THAT(line.host.reports(), testing::Each(kNotClearedMessage));
        EXPECT_EQ(line.host.reports().size() - reportsBefore, 1u);
        EXPECT_EQ(conversions, 1);
    }
}

TEST_F(Collection, FileNotSafelyOnDiskKeepsTheLoggersRecords) {
    line.session->syncFolder = [](const std::string&) { return false; };
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), line.logger.lastTransferImage());
    EXPECT_EQ(line.logger.clearCount(), 0);
    EXPECT_THAT(line.host.reports(), testing::ElementsAre(kNotClearedMessage));
}

// A cancel that comes once the file is whole on disk (a user's, or the program being ended)
// keeps the file, but the logger is not told to forget the records.
TEST_F(Collection, CancelOnceTheFileIsStoredKeepsItAndTheLoggersRecords) {
    line.session->syncFolder = [this](const std::string& folder) {
        line.session->channel()->cancelFlag.store(kCancelled);
        return fenta21::syncFolder(folder);
    };
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    EXPECT_EQ(readFileBytes(collectedFile()), line.logger.lastTransferImage());
    EXPECT_EQ(line.logger.clearCount(), 0);
    EXPECT_THAT(line.logger.receivedLines(), testing::Not(Contains("clear")));
    EXPECT_THAT(line.host.reports(), Contains("キャンセル !!           "));
}

// Nobody is there to answer during a reserved collection: the conversion goes on past a
// damaged record as after a yes, and says so once in RSV.LOG.
TEST_F(Collection, ReservedCollectionConvertsPastDamagedRecordsWithoutAsking) {
    sim::ImageRecipe recipe;
    recipe.instants = 40;
    recipe.channels = {{0, 20, 10, 1, 0}, {1, 72, 3, 0, 0}};
    recipe.damaged = {{3, 0}, {20, 1}};
    line.logger.setMemoryImage(sim::buildDataImage(recipe));
    line.session->reports.reservedCollectionMode.store(true);
    line.session->reports.currentStation.store(2);
    line.session->reports.stationLabel = [](int index) { return StationLabel{index + 1, "KAWABE"}; };
    ASSERT_EQ(collectWith(CollectCommand::AllCopy), kCollectOk);
    EXPECT_TRUE(line.host.questions().empty());
    std::string csv = readFileBytes(dataFolder + "/KAWABE_261208_0930.csv");
    EXPECT_THAT(csv, HasSubstr("2026/04/01,06:30:00,"));  // rows behind both damaged records
    std::string log = line.home.read("RSV.LOG");
    ASSERT_EQ(log.size(), 44u + 130u);
    EXPECT_THAT(cp932ToUtf8(log.substr(64)),
                testing::StartsWith("[003 KAWABE] KAWABE_261208_0930.v38 正しく記録されていないデータを除いてCSV変換しました"));
}

TEST_F(Collection, MissingFolderGives100WithoutTraffic) {
    line.session->settings.dataFolder = line.home.root() + "/no-such-folder";
    EXPECT_EQ(collectWith(CollectCommand::Copy), kCollectNoFile);
    EXPECT_TRUE(line.logger.receivedLines().empty());
}

TEST_F(Collection, EmptyBaseNameAsksTheLoggerAndSanitisesItsName) {
    line.session->settings.dataFileName = "";
    line.logger.setIdentity("../../evil", "WNDA-01");
    ASSERT_EQ(collectWith(CollectCommand::Copy), kCollectOk);
    EXPECT_EQ(fs::path(collectedFile()).parent_path(), fs::path(dataFolder));
    EXPECT_THAT(line.logger.receivedLines(), Contains("eerm0"));
}

TEST_F(Collection, TextListingLayoutWithErrorLinesAndEnd) {
    const std::string good1 = "26/04/01,00:00:00,001,001,+00012.3";
    const std::string good2 = "26/04/01,00:10:00,001,001,+00012.4";
    line.logger.setTextListing({good1, "broken line", good2, std::string(100, 'x')});
    line.host.saveFiles.push_back(dataFolder + "/listing.txt");
    ASSERT_EQ(collectWith(CollectCommand::Text), kCollectOk);
    EXPECT_EQ(readFileBytes(dataFolder + "/listing.txt"), good1 + "\r\n" + good2 + "\r\nEND\r\n000001 Error[broken line]\r\n" +
                                                     "000002 Error[" + std::string(80, 'x') + "]\r\n");

    sim::LoggerFaults faults;
    faults.listingWithoutEndLine = true;
    line.logger.setFaults(faults);
    line.host.saveFiles.push_back(dataFolder + "/silent.txt");
    ASSERT_EQ(collectWith(CollectCommand::Text), kCollectOk);
    std::string silent = readFileBytes(dataFolder + "/silent.txt");
    EXPECT_THAT(silent, HasSubstr("END\r\n"));
    EXPECT_EQ(silent.substr(silent.size() - 25), "000002 Receive time out\r\n");
}

TEST_F(Collection, EmptyListingGives104WithoutText) {
    line.logger.setTextListing({});
    line.host.saveFiles.push_back(dataFolder + "/none.txt");
    EXPECT_EQ(collectWith(CollectCommand::Text), kCollectNothingNew);
    EXPECT_THAT(line.logger.receivedLines(), testing::Not(Contains("text")));
    EXPECT_FALSE(fs::exists(dataFolder + "/none.txt"));
}

}  // namespace
}  // namespace fenta21::test

namespace fenta21::test {
namespace {

// A destination that is a folder cannot be renamed over: the transfer must say so.
TEST_F(Collection, FailedFinalRenameIs103ForBothReceivers) {
    std::string blocked = dataFolder + "/blocked";
    fs::create_directory(blocked);
    std::ofstream(blocked + "/keep") << "x";  // a folder that is not empty
    line.session->line.setPanelLinkActive(1);  // the direct line asks for the name
    line.host.saveFiles.push_back(blocked);
    EXPECT_EQ(collectWith(CollectCommand::AllCopy), kCollectWriteFailed);
    line.logger.setTextListing({"26/04/01,00:00:00,001,001,+00012.3"});
    line.host.saveFiles.push_back(blocked);
    EXPECT_EQ(collectWith(CollectCommand::Text), kCollectWriteFailed);
    EXPECT_THAT(dataFiles(), testing::ElementsAre("blocked"));  // no temporary file left behind
    // A listing clears nothing; the binary collection says that the logger kept its records.
    EXPECT_THAT(line.host.reports(), testing::ElementsAre(kNotClearedMessage));
    EXPECT_EQ(line.logger.clearCount(), 0);
}

}  // namespace
}  // namespace fenta21::test
