#include "core/base/Cp932.h"
#include "core/datafile/DataFileMessages.h"
#include "core/datafile/HeaderListing.h"
#include "sim/image/DataImage.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/GermanLocale.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fenta21 {
namespace {

// A 1024-byte image whose first bytes hold one item of every type, with model code "HT-1".
std::string everyTypeImage() {
    std::string image(1024, '\0');
    const unsigned char head[] = {
        0xFE,                                   // C: -2
        0x18, 0xFC,                             // I: -1000
        0x40, 0xE2, 0x01, 0x00,                 // L: 123456
        0x00, 0x00, 0x48, 0x41,                 // F: 12.5
    };
    std::memcpy(image.data(), head, sizeof head);
    std::memcpy(image.data() + 11, utf8ToCp932("観測所A").data(), 9);  // M: 16 bytes from 11, NUL after
    const signed char time[] = {26, 4, 1, 9, 5, -1};                  // T at 27
    std::memcpy(image.data() + 27, time, 6);
    std::memcpy(image.data() + 382, "HT-1", 4);
    return image;
}

const char* kEveryTypeReference = "*** 見出し ***\r\nCバイト\r\nIワード\r\nL長語\r\nF実数\r\nM名前\r\nT日時\r\nI次\r\n";

TEST(HeaderListing, ShowsEveryItemTypeAtItsOffset) {
    test::TempHome home;
    home.write("HT-1.hed", utf8ToCp932(kEveryTypeReference));
    HeaderListing listing = listHeader(everyTypeImage(), home.path());
    EXPECT_TRUE(listing.messages.empty());
    struct Row {
        const char* offset;
        const char* label;
        const char* value;
    };
    const Row expected[] = {
        {"000000", "*** 見出し ***", "*** 見出し ***"},  // a label line repeats its label and takes no bytes
        {"000000", "Cバイト", "-2"},
        {"000001", "Iワード", "-1000"},
        {"000003", "L長語", "123456"},
        {"000007", "F実数", "12.500000"},
        {"00000B", "M名前", "観測所A"},
        {"00001B", "T日時", "26/04/01 09:05:-1"},
        {"000021", "I次", "0"},
    };
    ASSERT_EQ(listing.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(listing.rows[i].offsetText, expected[i].offset) << i;
        EXPECT_EQ(listing.rows[i].label, expected[i].label) << i;
        EXPECT_EQ(listing.rows[i].value, expected[i].value) << i;
    }
}

TEST(HeaderListing, FloatsIgnoreTheLocale) {
    test::TempHome home;
    home.write("HT-1.hed", utf8ToCp932(kEveryTypeReference));
    test::GermanLocale german;
    EXPECT_EQ(listHeader(everyTypeImage(), home.path()).rows[4].value, "12.500000");
}

TEST(HeaderListing, FallsBackToTheCommonReferenceFile) {
    test::TempHome home;
    home.write("XBR-PLQ-01.hed", "Cfirst\r\nCsecond\r\n");
    HeaderListing listing = listHeader(everyTypeImage(), home.path());
    EXPECT_EQ(listing.messages, std::vector<std::string>{kNoHeaderReferenceMessage});
    ASSERT_EQ(listing.rows.size(), 2u);
    EXPECT_EQ(listing.rows[1].label, "Csecond");

    // A model code that could name a file outside the home folder is never used as one.
    std::string escaping = everyTypeImage();
    std::memcpy(escaping.data() + 382, "../HT-1", 8);
    home.write("../HT-1.hed", "Coutside\r\n");
    EXPECT_EQ(listHeader(escaping, home.path()).rows[0].label, "Cfirst");
}

TEST(HeaderListing, WithoutAnyReferenceFileShowsNothingMore) {
    test::TempHome home;
    HeaderListing listing = listHeader(everyTypeImage(), home.path());
    EXPECT_EQ(listing.messages, std::vector<std::string>{kNoHeaderReferenceMessage});
    EXPECT_TRUE(listing.rows.empty());
}

// 64 items of 16 bytes fill the 1024-byte file; the next item would run past its end.
TEST(HeaderListing, ItemsPastTheEndOfTheFileStopTheList) {
    test::TempHome home;
    std::string reference;
    for (int i = 0; i < 64; ++i) reference += "Mblock\r\n";
    home.write("HT-1.hed", reference + "Cbeyond\r\nClater\r\n");
    HeaderListing listing = listHeader(everyTypeImage(), home.path());
    EXPECT_EQ(listing.rows.size(), 64u);
    EXPECT_EQ(listing.rows.back().offsetText, "0003F0");
    EXPECT_EQ(listing.messages, std::vector<std::string>{kHeaderReadAbortedMessage});
}

TEST(HeaderListing, FileTooShortForTheModelCode) {
    test::TempHome home;
    HeaderListing listing = listHeader(everyTypeImage().substr(0, 397), home.path());
    EXPECT_TRUE(listing.rows.empty());
    EXPECT_EQ(listing.messages, std::vector<std::string>{kHeaderReadAbortedMessage});
    EXPECT_EQ(listHeaderOfFile(home.file("missing.v38"), home.path()).messages,
              std::vector<std::string>{kHeaderReadAbortedMessage});
}

// The shipped reference files describe the header the image builder writes.
TEST(HeaderListing, InstalledReferenceMatchesABuiltImage) {
    test::TempHome home;
    test::installConfiguration(home);
    sim::ImageRecipe recipe;
    recipe.modelCode = "SEAL-01";
    recipe.memo[0] = utf8ToCp932("第二岸壁");
    recipe.instants = 2;
    recipe.channels = {{0, 92, 100, 1}};
    HeaderListing listing = listHeader(sim::buildDataImage(recipe), home.path());
    EXPECT_TRUE(listing.messages.empty());
    auto valueOf = [&](const std::string& label) {
        for (const HeaderRow& row : listing.rows)
            if (row.label == label) return row.offsetText + " " + row.value;
        return std::string("(no row)");
    };
    EXPECT_EQ(valueOf("L 記録終了アドレス"), "000002 656");
    EXPECT_EQ(valueOf("L 記録開始アドレス"), "000006 640");
    EXPECT_EQ(valueOf("T 記録開始日時"), "00000A 26/04/01 00:00:00");
    EXPECT_EQ(valueOf("F 電池電圧(V)"), "000018 12.600000");
    EXPECT_EQ(valueOf("M 機種コード"), "00017E SEAL-01");
    EXPECT_EQ(valueOf("M メモ1"), "0001E6 第二岸壁");
    EXPECT_EQ(listing.rows.back().offsetText, "000280");
}

}  // namespace
}  // namespace fenta21
