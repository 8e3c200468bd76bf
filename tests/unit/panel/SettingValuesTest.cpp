// How the logger's replies become the value texts the panel shows.
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"
#include "core/panel/SettingValues.h"
#include "tests/unit/datafile/GermanLocale.h"

#include <gtest/gtest.h>

#include <tuple>

namespace fenta21 {
namespace {

std::string right(const std::string& text) { return std::string(16 - text.size(), ' ') + text; }

TEST(SettingValues, BatteryGaugeStaysInsideItsBrackets) {
    struct Row {
        const char* reply;
        std::optional<std::string> value;
    } rows[] = {
        {"55", right("[_____*****]")},   {"0", right("[__________]")}, {"100", right("[**********]")},
        {"150", right("[**********]")},  {"-20", right("[__________]")}, {"9", right("[__________]")},
        {" 72mV", right("[___*******]")}, {"?", std::nullopt},           {"", std::nullopt},
        {"99999999999999", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(batteryValue(row.reply), row.value) << row.reply;
}

TEST(SettingValues, PresetTimerCountsMinutesAndSeconds) {
    struct Row {
        const char* reply;
        std::optional<int> setting;
        const char* value;
    } rows[] = {
        {"0", 0, "OFF"}, {"30", 30, "30min"}, {"5sec", 65, "5sec"}, {"0sec", 60, "0sec"}, {"59", 59, "59min"},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(presetTimerSetting(row.reply), row.setting) << row.reply;
        EXPECT_EQ(presetTimerValue(*row.setting), right(row.value)) << row.reply;
        // The shown value leads back to the setting that preselects the dialog.
        EXPECT_EQ(presetTimerSettingOfValue(presetTimerValue(*row.setting)), row.setting) << row.reply;
    }
    EXPECT_EQ(presetTimerSetting("sec"), std::nullopt);
    // Seconds whose setting no int holds are no setting; the largest that fits still reads.
    EXPECT_EQ(presetTimerSetting("2147483647sec"), std::nullopt);
    EXPECT_EQ(presetTimerSetting("2147483587sec"), 2147483647);
    EXPECT_EQ(presetTimerSetting("2147483647"), 2147483647);
    EXPECT_EQ(presetTimerSettingOfValue("                "), std::nullopt);
}

TEST(SettingValues, ClockAndAfterStartNeedEveryField) {
    auto time = parseLoggerTime("261208093015");
    ASSERT_TRUE(time);
    EXPECT_EQ(timeValue(*time), right("09:30:15"));
    EXPECT_EQ(dateValue(*time), right("'26/12/08"));
    // A reply that stops short, or holds a letter, changes neither value.
    for (const char* bad : {"2612080930", "26120809301x", "", "?", "26/12/08 09:30"})
        EXPECT_EQ(parseLoggerTime(bad), std::nullopt) << bad;

    auto start = parseAfterStart("03151230");
    ASSERT_TRUE(start);
    EXPECT_EQ(afterStartValue(*start), right("03/15 12:30"));
    EXPECT_EQ(parseAfterStart("031512"), std::nullopt);
}

TEST(SettingValues, OffsetFollowsTheDigitSetting) {
    EXPECT_EQ(offsetValue(1, -1.5), right("-01.500m"));
    EXPECT_EQ(offsetValue(0, -1.5), right("-1.5000m"));
    EXPECT_EQ(offsetValue(2, 2.25), right("+002.25m"));
    EXPECT_EQ(offsetValue(1, 655.35), right("+655.350m"));
    EXPECT_EQ(offsetValue(3, 1.0), std::nullopt);
    EXPECT_EQ(offsetValue(-1, 1.0), std::nullopt);
    // The decimal point is the logger's, whatever the locale says.
    test::GermanLocale german;
    EXPECT_EQ(offsetValue(1, -1.5), right("-01.500m"));
    EXPECT_EQ(leadingDecimal("-1.5"), -1.5);
}

TEST(SettingValues, WaveCancelerCodesOutsideTheTableShowNothing) {
    EXPECT_EQ(waveCancelerValue(0), right(" OFF"));
    EXPECT_EQ(waveCancelerValue(6), right(" 30S"));
    EXPECT_EQ(waveCancelerValue(7), std::nullopt);
    EXPECT_EQ(waveCancelerValue(-1), std::nullopt);
}

TEST(SettingValues, TextsFromAPositionNeverReachPastAShortReply) {
    EXPECT_EQ(comSpeedValue("05 9600bps"), right(" 9600bps"));
    EXPECT_EQ(intervalValue("19 15min"), right("15min"));
    EXPECT_EQ(zeroSetValue("1, Default"), right(" Default"));
    for (const char* shortReply : {"", "9", "12"}) {
        EXPECT_EQ(comSpeedValue(shortReply), right("")) << shortReply;
        EXPECT_EQ(zeroSetValue(shortReply), right("")) << shortReply;
    }
    EXPECT_EQ(intervalValue("123"), right(""));
}

TEST(SettingValues, WidthsCountDisplayColumns) {
    EXPECT_EQ(memoValue("KAWABE"), "KAWABE          ");
    // A reply longer than the display is cut, never written past the line.
    EXPECT_EQ(plainValue("ROM V2.10 1998-2003 BRIGHTLOW"), "ROM V2.10 1998-2");
    // Half-width katakana take one column, kanji two; a kanji is never cut in half.
    EXPECT_EQ(displayWidth("ﾃｽﾄ"), 3u);
    EXPECT_EQ(displayWidth("観測"), 4u);
    EXPECT_EQ(rightAligned("観測所観測所観測所", 5), " 観測");
    EXPECT_EQ(leftAligned("観測所", 5), "観測 ");
    EXPECT_EQ(keepEnd("観測所ABC", 6), "所ABC");
    EXPECT_EQ(keepEnd("A観測所", 5), "測所");  // the first kanji would not fit whole
}

TEST(SettingValues, DisplayCellsStandOnTheGridOfColumns) {
    auto cells = displayCells("ﾃﾞｰﾀ回収 A");
    std::vector<std::tuple<std::string, std::size_t, std::size_t>> placed;
    for (const DisplayCell& cell : cells) placed.emplace_back(cell.text, cell.column, cell.width);
    EXPECT_EQ(placed, (std::vector<std::tuple<std::string, std::size_t, std::size_t>>{
                          {"ﾃ", 0, 1}, {"ﾞ", 1, 1}, {"ｰ", 2, 1}, {"ﾀ", 3, 1}, {"回", 4, 2}, {"収", 6, 2},
                          {" ", 8, 1}, {"A", 9, 1}}));
    EXPECT_TRUE(displayCells("").empty());
}

TEST(ReplyNumbers, OnlyWhatReadsAsANumberCounts) {
    EXPECT_EQ(leadingInteger("  -12abc"), -12);
    EXPECT_EQ(leadingInteger("+7"), 7);
    EXPECT_EQ(leadingInteger("2147483648"), std::nullopt);  // beyond an int: no number, no wrap
    EXPECT_EQ(wholeInteger(" 63 "), 63);
    EXPECT_EQ(wholeInteger("6 3"), std::nullopt);
    EXPECT_EQ(wholeDecimal("inf"), std::nullopt);
    EXPECT_EQ(wholeDecimal("nan"), std::nullopt);
    EXPECT_EQ(wholeDecimal("-.5"), -0.5);
    EXPECT_EQ(fixedDecimal(-1.5, 6), "-1.500000");
    EXPECT_EQ(signedZeroPadded(-0.0004, 7, 3), "-00.000");
}

}  // namespace
}  // namespace fenta21
