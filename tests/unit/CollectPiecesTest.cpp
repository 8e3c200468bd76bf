// The pieces of a collection that need no line: names, block framing, search order, results.
#include "core/session/Session.h"
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/collect/Crc16.h"
#include "core/collect/FileNaming.h"
#include "core/collect/SaveFilter.h"
#include "core/collect/Receivers.h"
#include "core/collect/TransferFile.h"
#include "core/remote/DirectLinkSearch.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

TEST(FileNames, PatternsUseTwoDigitYearAndMinutes) {
    CalendarTime march5{2024, 3, 5, 14, 7, 59};
    EXPECT_EQ(formDataFileName("KAWABE2", march5), "KAWABE2_240305_1407.v38");
    EXPECT_EQ(formTextFileName("", march5), "_240305_1407.txt");
}

TEST(FileNames, SaveQuestionOffersTheKindOfTheNameItSuggests) {
    CalendarTime march5{2024, 3, 5, 14, 7, 59};
    struct Row {
        std::string suggested;
        const char* filter;
    } rows[] = {
        {"/data/" + formDataFileName("KAWABE", march5), " Binary data (*.v38)|*.v38"},
        {"/data/" + formTextFileName("KAWABE", march5), " Ascii data (*.txt)|*.txt"},
        {"/data/KAWABE.csv", ""},
        {"/data/KAWABE", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(saveFilterFor(row.suggested), row.filter) << row.suggested;
}

TEST(FileNames, LoggerNamesCannotEscapeTheFolder) {
    struct Row {
        const char* name;
        const char* safe;
    } rows[] = {
        {"KAWABE-01", "KAWABE-01"}, {"../../etc/passwd", "______etc_passwd"}, {"..", "__"}, {"a.b", "a.b"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"}, {"tab\there\x7f", "tab_here_"}, {".hidden", "_hidden"},
        {"観測所 1", "観測所 1"},
    };
    for (const Row& row : rows) EXPECT_EQ(sanitizeBaseName(row.name), row.safe) << row.name;
    for (const Row& row : rows) EXPECT_EQ(sanitizeBaseName(row.name).find('/'), std::string::npos);
}

TEST(FileNames, ConfiguredBaseNameGetsTheUnitAndNoQuestionWithoutThePanel) {
    TempHome home;
    TestClock clock;
    clock.setLocalTime({2024, 3, 5, 14, 7, 0});
    ScriptedHost host;
    Session session(home.path(), host, clock);
    session.settings.dataFileName = "KAWABE";
    session.stationTarget = [&](int station) {
        return station < 0 ? CollectionTarget{"", session.settings.dataFileName} : CollectionTarget{"", "YAMADA"};
    };
    session.reports.currentUnit.store(2);
    Destination destination;
    // A station's unit follows its base name; the direct line has no unit, whatever unit a
    // station's collection left selected.
    EXPECT_EQ(nameDataFile(session, 4, "/data/", destination), 0);
    EXPECT_EQ(destination.path, "/data/YAMADA2_240305_1407.v38");
    EXPECT_EQ(nameDataFile(session, -1, "/data/", destination), 0);
    EXPECT_EQ(destination.path, "/data/KAWABE_240305_1407.v38");
    EXPECT_EQ(session.line.lastDataFile.get(), destination.path);
    EXPECT_TRUE(host.questions().empty());

    // With the panel running the direct line asks; a cancelled question is 27.
    session.line.setPanelLinkActive(1);
    EXPECT_EQ(nameDataFile(session, -1, "/data/", destination), kCancelled);
    host.saveFiles.push_back("/elsewhere/chosen.v38");
    EXPECT_EQ(nameDataFile(session, -1, "/data/", destination), 0);
    EXPECT_EQ(destination.path, "/elsewhere/chosen.v38");

    // A base name beginning with a space counts as empty: the panel's name is used.
    session.settings.dataFileName = " x";
    session.panelStationId.set("PANEL/ID");
    host.saveFiles.push_back("/data/t.txt");
    EXPECT_EQ(nameTextFile(session, -1, "/data/", destination), 0);
    EXPECT_EQ(destination.path, "/data/t.txt");
}

// A collection's name never lands on a file already there: "_2", "_3" ... go before the
// extension, and a data file's CSV name must be free as well. The same holds when the file
// takes its name, for files another program stored since the name was chosen.
TEST(FileNames, TakenNamesGetTheFirstFreeNumberWhenChosenAndWhenClaimed) {
    struct Row {
        const char* legend;
        std::vector<std::string> present;
        bool withCsv;
        const char* chosen;
    } rows[] = {
        {"nothing there", {}, true, "S_261208_0930.v38"},
        {"data file there", {"S_261208_0930.v38"}, true, "S_261208_0930_2.v38"},
        {"two taken", {"S_261208_0930.v38", "S_261208_0930_2.v38", "S_261208_0930_2.csv"}, true, "S_261208_0930_3.v38"},
        {"only its CSV left", {"S_261208_0930.csv"}, true, "S_261208_0930_2.v38"},
        {"CSV no concern of a listing", {"S_261208_0930.csv"}, false, "S_261208_0930.v38"},
    };
    for (const Row& row : rows) {
        TempHome home;
        for (const std::string& name : row.present) home.write(name, "stored before");
        auto chosen = unclaimedPath(home.file("S_261208_0930.v38"), row.withCsv);
        ASSERT_TRUE(chosen) << row.legend;
        EXPECT_EQ(*chosen, home.file(row.chosen)) << row.legend;

        home.write("aside", "collected");
        auto claimed = claimDestination(home.file("aside"), {.path = home.file("S_261208_0930.v38"), .withCsv = row.withCsv});
        ASSERT_TRUE(claimed) << row.legend;
        EXPECT_EQ(*claimed, home.file(row.chosen)) << row.legend;
        EXPECT_EQ(home.read(row.chosen), "collected") << row.legend;
        EXPECT_FALSE(home.exists("aside")) << row.legend;
        for (const std::string& name : row.present) EXPECT_EQ(home.read(name), "stored before") << row.legend;
    }
}

TEST(FileNames, TheSaveQuestionOffersAFreeNameButTheUsersChoiceStands) {
    TempHome home;
    TestClock clock;
    clock.setLocalTime({2024, 3, 5, 14, 7, 0});
    struct SuggestionHost : ScriptedHost {
        std::vector<std::string> suggested;
        std::string chooseSaveFile(const std::string& title, const std::string& suggestion) override {
            suggested.push_back(suggestion);
            return ScriptedHost::chooseSaveFile(title, suggestion);
        }
    } host;
    Session session(home.path(), host, clock);
    session.settings.dataFileName = "KAWABE";
    session.line.setPanelLinkActive(1);
    std::string folder = home.path() + "/";
    home.write("KAWABE_240305_1407.v38", "first collection");
    host.saveFiles.push_back(home.file("KAWABE_240305_1407.v38"));  // the user keeps the old name
    Destination destination;
    EXPECT_EQ(nameDataFile(session, -1, folder, destination), 0);
    EXPECT_EQ(destination.path, home.file("KAWABE_240305_1407.v38"));
    EXPECT_TRUE(destination.replaces);
    home.write("KAWABE_240305_1407.txt", "first listing");
    host.saveFiles.push_back(home.file("chosen.txt"));
    EXPECT_EQ(nameTextFile(session, -1, folder, destination), 0);
    EXPECT_EQ(destination.path, home.file("chosen.txt"));
    EXPECT_FALSE(destination.replaces);
    EXPECT_THAT(host.suggested,
                ElementsAre(home.file("KAWABE_240305_1407_2.v38"), home.file("KAWABE_240305_1407_2.txt")));
}

// What a folder holds, by name, in order.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileNames, TemporaryNamesKeepTheTemplatesTextAroundItsUniquePart) {
    auto data = tempNameParts(kDataTempPattern);
    auto text = tempNameParts(kTextTempPattern);
    ASSERT_TRUE(data && text);
    EXPECT_EQ(data->prefix + "|" + data->suffix, "XDM-|.V38");
    EXPECT_EQ(text->prefix + "|" + text->suffix, "XDM-|.txt");
    EXPECT_FALSE(tempNameParts("XDM.V38"));
}

// The temporary file lives in the destination folder under a name of its own, so that an
// older version's fixed name is no concern of it; a commit takes the next free name rather
// than replace a file stored there, unless the user chose to replace that file.
TEST(TransferFiles, OnlyACommitLeavesAFileAndItNeverReplacesAnotherOne) {
    TempHome home;
    home.write("XDM-0000.V38", "an older version's transfer");
    home.write("dest.v38", "old");
    {
        TransferFile file;
        ASSERT_TRUE(file.create(home.path(), *tempNameParts(kDataTempPattern)));
        EXPECT_THAT(std::filesystem::path(file.path()).filename().string(),
                    testing::MatchesRegex("XDM-[0-9]+-[0-9a-f]{16}\\.V38"));
        ASSERT_TRUE(file.write("partial"));
    }
    EXPECT_THAT(entries(home.path()), ElementsAre("XDM-0000.V38", "dest.v38"));

    TransferFile file;
    ASSERT_TRUE(file.create(home.path(), *tempNameParts(kDataTempPattern)));
    ASSERT_TRUE(file.write("new content"));
    EXPECT_EQ(file.commit({.path = home.file("dest.v38")}), TransferFile::Commit::Durable);
    EXPECT_EQ(file.storedPath(), home.file("dest_2.v38"));
    EXPECT_EQ(home.read("dest.v38"), "old");
    EXPECT_EQ(home.read("dest_2.v38"), "new content");

    TransferFile chosen;
    ASSERT_TRUE(chosen.create(home.path(), *tempNameParts(kDataTempPattern)));
    ASSERT_TRUE(chosen.write("chosen"));
    EXPECT_EQ(chosen.commit({.path = home.file("dest.v38"), .replaces = true}), TransferFile::Commit::Durable);
    EXPECT_EQ(home.read("dest.v38"), "chosen");

    TransferFile unrenamable;
    ASSERT_TRUE(unrenamable.create(home.path(), *tempNameParts(kDataTempPattern)));
    EXPECT_EQ(unrenamable.commit({.path = home.file("no-such-folder/dest.v38")}), TransferFile::Commit::Failed);
    EXPECT_THAT(entries(home.path()), ElementsAre("XDM-0000.V38", "dest.v38", "dest_2.v38"));
}

TEST(TransferFiles, AFolderThatCannotBeSyncedLeavesTheFileButSaysSo) {
    TempHome home;
    std::vector<std::string> synced;
    TransferFile file([&](const std::string& folder) {
        synced.push_back(folder);
        return false;
    });
    ASSERT_TRUE(file.create(home.path(), *tempNameParts(kTextTempPattern)));
    ASSERT_TRUE(file.write("records"));
    EXPECT_EQ(file.commit({.path = home.file("dest.txt")}), TransferFile::Commit::NotDurable);
    EXPECT_EQ(home.read("dest.txt"), "records");
    EXPECT_THAT(synced, ElementsAre(home.path()));
}

TEST(Blocks, CrcAndFraming) {
    const std::string check = "123456789";
    EXPECT_EQ(crc16Xmodem(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x31C3);

    BlockBuffer block{};
    block[0] = kSTX;
    block[1] = 0x01;
    block[2] = 0xFE;
    for (std::size_t i = 0; i < kBlockPayload; ++i) block[3 + i] = static_cast<std::uint8_t>(i * 7);
    std::uint16_t crc = blockCrc(block);
    block[1027] = static_cast<std::uint8_t>(crc >> 8);
    block[1028] = static_cast<std::uint8_t>(crc & 0xFF);
    EXPECT_EQ(checkBlock(block), BlockCheck::Good);
    EXPECT_EQ(receivedCrc(block), crc);
    block[2] = 0xFF;
    EXPECT_EQ(checkBlock(block), BlockCheck::BadComplement);
    block[2] = 0xFE;
    block[500] ^= 0x40;
    EXPECT_EQ(checkBlock(block), BlockCheck::BadCrc);
}

TEST(Blocks, ProgressTextFieldWidths) {
    EXPECT_EQ(progressText(131712, 32768, 0x20, 8), "Total 131Kb - Received  32Kb Rec.No 032 Retry 0008");
    EXPECT_EQ(progressText(0, 0, 300, 0), "Total   0Kb - Received   0Kb Rec.No 044 Retry 0000");
}

TEST(SpeedSearch, OrderCoversFiveToNineOnceFromAnyStart) {
    EXPECT_THAT(speedSearchOrder(7, false), ElementsAre(7, 6, 5, 9, 8));
    EXPECT_THAT(speedSearchOrder(9, false), ElementsAre(9, 8, 7, 6, 5));
    EXPECT_THAT(speedSearchOrder(5, false), ElementsAre(5, 9, 8, 7, 6));
    // Below 5 the start is tried once, then one pass over 9 ... 5: the search moves on.
    EXPECT_THAT(speedSearchOrder(0, false), ElementsAre(0, 9, 8, 7, 6, 5));
    EXPECT_THAT(speedSearchOrder(3, true), ElementsAre(3));
}

TEST(CollectResults, MessagesForEveryReportedCode) {
    EXPECT_EQ(collectResultMessage(kCollectNothingNew), "前回のデータ回収時以降に新しく記録されているデータがありません!!");
    EXPECT_EQ(collectResultMessage(kCollectCardBusy), "カード回収中によりアクセスできません!!   ");
    EXPECT_EQ(collectResultMessage(kNoReply), "コマンド応答　受信タイムアウト");
    EXPECT_EQ(collectResultMessage(kCollectOk), "");
    EXPECT_EQ(collectResultMessage(42), "");

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path(), host, clock);
    reportResult(session, kCollectOk);
    EXPECT_TRUE(host.reports().empty());
    reportResult(session, kCollectTransferFailed);
    EXPECT_THAT(host.reports(), ElementsAre("通信処理中にて期待する文字列が受信できません!!"));
}

}  // namespace
}  // namespace fenta21::test
