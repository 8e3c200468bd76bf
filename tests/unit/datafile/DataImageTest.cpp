#include "core/base/Bytes.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/DataRecord.h"
#include "sim/image/DataImage.h"
#include "sim/image/ImageRecipeText.h"
#include "sim/image/RecordBytes.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

TEST(DataImage, HeaderFieldsRecordsAndBlocks) {
    sim::ImageRecipe recipe;
    recipe.modelCode = "LVLA-01";
    recipe.memo[5] = "last memo";
    recipe.startMarkers = 2;
    recipe.instants = 3;
    recipe.channels = {{0, 32, 100, 1}, {4, 5, -7, 0, 1}};  // the second channel from instant 1
    recipe.missing = {{2, 0}};
    std::string image = sim::buildDataImage(recipe);

    EXPECT_EQ(image.size(), 1024u);
    std::size_t records = 2 + sim::measurementCount(recipe);
    EXPECT_EQ(sim::measurementCount(recipe), 4u);
    RecordArea area = readRecordArea(image).value();
    EXPECT_EQ(area.startOffset, 640u);
    EXPECT_EQ(area.endOffset, 640u + 8u * records);
    EXPECT_EQ(readModelCode(image).value(), "LVLA-01");
    EXPECT_EQ(readMemoLines(image).value()[5], "last memo");
    EXPECT_TRUE(isStartMarker(std::string_view(image).substr(640, 8)));
    DataRecord second = decodeRecord(std::string_view(image).substr(640 + 3 * 8, 8)).value();
    EXPECT_EQ(second.minute, 10);
    EXPECT_EQ(second.value, 101);
    DataRecord added = decodeRecord(std::string_view(image).substr(640 + 4 * 8, 8)).value();
    EXPECT_EQ(added.channel, 4);
    EXPECT_EQ(added.value, -7);
    for (std::size_t i = area.endOffset; i < image.size(); ++i) ASSERT_EQ(image[i], '\xFF') << "never-written tail";

    recipe.minimumBytes = 5000;
    recipe.endOffset = 1;
    image = sim::buildDataImage(recipe);
    EXPECT_EQ(image.size(), 5120u);
    EXPECT_EQ(readRecordArea(image)->endOffset, 1u);
}

TEST(RecordBytes, CalendarStepsAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(addSeconds({2026, 12, 31, 23, 50, 0}, 600), (CalendarTime{2027, 1, 1, 0, 0, 0}));
    EXPECT_EQ(addSeconds({2028, 2, 28, 12, 0, 0}, 86400), (CalendarTime{2028, 2, 29, 12, 0, 0}));
    EXPECT_EQ(addSeconds({2026, 2, 28, 12, 0, 0}, 86400), (CalendarTime{2026, 3, 1, 12, 0, 0}));
    EXPECT_EQ(addSeconds({2026, 1, 1, 0, 0, 0}, 59), (CalendarTime{2026, 1, 1, 0, 0, 59}));
    EXPECT_FALSE(decodeRecord(sim::damagedRecord({2026, 1, 1, 0, 0, 0}, 0, 5, 0)).has_value());
    EXPECT_FALSE(decodeRecord(sim::unwrittenRecord()).has_value());
}

TEST(ImageRecipeText, ReadsEverySettingAndNamesTheFirstBadLine) {
    sim::ParsedRecipe parsed = sim::parseImageRecipe(
        "# a comment\n"
        "model SEAL-01\n"
        "memo 2 第二岸壁\n"
        "first 2026-08-01 06:30:00\n"
        "interval 1800\ninstants 4\n"
        "channel 0 92 0x100 -1 from 2\n"
        "channel 1 5 100 0 wave 40 4 noise 3\n"
        "gap 1 1\n"
        "damaged 3 0\n"
        "trailing-marker 2\n"
        "end-offset 0x400\n"
        "answers yes\n",
        true);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.recipe.modelCode, "SEAL-01");
    EXPECT_EQ(parsed.recipe.memo[1], "\x91\xe6\x93\xf1\x8a\xdd\x95\xc7");  // 第二岸壁 in code page 932
    EXPECT_EQ(parsed.recipe.firstInstant, (CalendarTime{2026, 8, 1, 6, 30, 0}));
    ASSERT_EQ(parsed.recipe.channels.size(), 2u);
    EXPECT_EQ(parsed.recipe.channels[0].firstValue, 256);
    EXPECT_EQ(parsed.recipe.channels[0].fromInstant, 2);
    // A quarter of the wave's period on, it stands at its top, give or take the noise.
    EXPECT_NEAR(sim::channelValue(parsed.recipe.channels[1], 1), 140, 3);
    EXPECT_EQ(sim::channelValue(parsed.recipe.channels[1], 1), sim::channelValue(parsed.recipe.channels[1], 1));
    // Instant 1 has no records; the first channel records at instants 2 and 3, the second at 0, 2, 3.
    EXPECT_EQ(sim::measurementCount(parsed.recipe), 5u);
    EXPECT_EQ(parsed.recipe.trailingRecords.size(), 2u);
    EXPECT_EQ(parsed.recipe.endOffset, 0x400u);
    EXPECT_EQ(parsed.otherLines, std::vector<std::string>{"answers yes"});

    EXPECT_EQ(sim::parseImageRecipe("instants 3\nchannel 0 20 x 1\ninterval 0\n").error, "line 2: channel 0 20 x 1");
    EXPECT_EQ(sim::parseImageRecipe("answers yes\n").error, "line 1: answers yes");
    EXPECT_EQ(sim::parseImageRecipe("channel 0 20 1 1 wave 5\n").error, "line 1: channel 0 20 1 1 wave 5");
}

}  // namespace
}  // namespace fenta21
