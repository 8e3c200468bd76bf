// The save-destination dialog's rules: the field limit in code page 932 bytes, and "OK",
// which refuses a folder that does not exist and otherwise stores and saves both texts.
#include "core/app/SaveDestination.h"
#include "core/session/Session.h"
#include "core/session/SystemSettings.h"
#include "core/base/Cp932.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

struct FitRow {
    const char* legend;
    std::string text;
    std::string kept;
};

TEST(SaveDestinationText, FitsSixtyFourCodePageBytesWithoutSplittingACharacter) {
    const std::string kana64(64, 'A');
    const FitRow rows[] = {
        {"short text is kept", "KAWABE", "KAWABE"},
        {"64 single bytes are kept", kana64, kana64},
        {"the 65th byte goes", kana64 + "B", kana64},
        // Half-width katakana are one byte each in the code page, though three in UTF-8.
        {"64 half-width katakana are kept", [] { std::string s; for (int i = 0; i < 64; ++i) s += "ｱ"; return s; }(),
         [] { std::string s; for (int i = 0; i < 64; ++i) s += "ｱ"; return s; }()},
        // 63 bytes, then a double-byte character that would need bytes 64 and 65.
        {"a double-byte character is not split", std::string(63, 'A') + "データ", std::string(63, 'A')},
        {"32 double-byte characters are kept", [] { std::string s; for (int i = 0; i < 32; ++i) s += "水"; return s; }(),
         [] { std::string s; for (int i = 0; i < 32; ++i) s += "水"; return s; }()},
        {"empty stays empty", "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(fitSaveDestinationText(row.text), row.kept) << row.legend;
        EXPECT_LE(utf8ToCp932(fitSaveDestinationText(row.text)).size(), kSaveDestinationTextBytes) << row.legend;
    }
}

class SaveDestinationOk : public ::testing::Test {
protected:
    TempHome home;
    ScriptedHost host;
    TestClock clock{0.02};
    Session session{home.path(), host, clock};
};

TEST_F(SaveDestinationOk, MissingFolderIsRefusedWithTheResetTextAndNothingStored) {
    session.settings.dataFileName = "OLD";
    session.settings.dataFolder = "";
    SaveDestination typed{"NEW", home.root() + "/nowhere"};
    EXPECT_EQ(confirmSaveDestination(session, typed), SettingsChange::Refused);
    EXPECT_THAT(host.reports(), ElementsAre("設定したフォルダがありません!! "));
    EXPECT_EQ(typed.folder, "../data/");
    EXPECT_EQ(typed.fileName, "NEW");  // what the user typed there stays in the field
    EXPECT_EQ(session.settings.dataFileName, "OLD");
    EXPECT_FALSE(home.exists("system.dat"));
}

TEST_F(SaveDestinationOk, ExistingFolderIsStoredAsTypedAndSaved) {
    std::filesystem::create_directory(home.root() + "/logs");
    // Relative to the home folder and without the final separator: resolved only for the check.
    SaveDestination typed{"ｶﾜﾍﾞ", "../logs"};
    EXPECT_EQ(confirmSaveDestination(session, typed), SettingsChange::Stored);
    EXPECT_THAT(host.reports(), ElementsAre());
    EXPECT_EQ(session.settings.dataFolder, "../logs");
    EXPECT_EQ(session.settings.dataFileName, "ｶﾜﾍﾞ");
    SystemSettings saved;
    loadSettings(home.file("system.dat"), saved);
    EXPECT_EQ(saved, session.settings);
}

TEST_F(SaveDestinationOk, EmptyFolderMeansTheDataFolderBesideTheHome) {
    SaveDestination typed{"A", " "};  // a leading space counts as empty
    EXPECT_EQ(confirmSaveDestination(session, typed), SettingsChange::Refused);  // <root>/data does not exist yet
    std::filesystem::create_directory(home.root() + "/data");
    typed.folder = " ";
    EXPECT_EQ(confirmSaveDestination(session, typed), SettingsChange::Stored);
    EXPECT_EQ(session.settings.dataFolder, " ");
}

}  // namespace
}  // namespace fenta21::test
