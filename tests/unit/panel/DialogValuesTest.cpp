// The lists the settings dialogs offer and the checks they make before anything is written.
#include "core/panel/DialogChecks.h"
#include "core/panel/DialogLists.h"
#include "core/protocol/KindTable.h"
#include "core/protocol/ModelKinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21 {
namespace {

using ::testing::ElementsAre;

TEST(DialogLists, PresetTimerOffersSecondsToTheCountingFamiliesOnly) {
    for (int kind : {ModelKind::kWNDA, ModelKind::kLVLA, ModelKind::kQS, ModelKind::kHBLTZ, ModelKind::kUnknown}) {
        auto entries = presetTimerEntries(kind);
        ASSERT_EQ(entries.size(), 60u) << kind;
        EXPECT_EQ(entries.front(), "OFF");
        EXPECT_EQ(entries.back(), "59min");
    }
    for (int kind : {ModelKind::kQ4, ModelKind::kQ8, ModelKind::kRP8, ModelKind::kRS8}) {
        auto entries = presetTimerEntries(kind);
        ASSERT_EQ(entries.size(), 91u) << kind;
        EXPECT_EQ(entries[60], "0sec");
        EXPECT_EQ(entries[65], "5sec");  // position 65 is what "pretm=%d" sends
        EXPECT_EQ(entries[90], "30sec");
    }
}

TEST(DialogLists, IntervalListMapsPositionsToTheModelsCodes) {
    IntervalChoices rgt1 = intervalChoices(ModelKind::kRGT1, 17);
    ASSERT_EQ(rgt1.codes.size(), 20u);
    EXPECT_EQ(rgt1.codes.front(), 11);
    auto fifteen = std::find(rgt1.labels.begin(), rgt1.labels.end(), "15min") - rgt1.labels.begin();
    EXPECT_EQ(rgt1.codes[static_cast<std::size_t>(fifteen)], 19);
    EXPECT_EQ(rgt1.labels[static_cast<std::size_t>(rgt1.preselected)], "10min");

    // A code the model does not offer preselects nothing.
    EXPECT_EQ(intervalChoices(ModelKind::kRGT1, 4).preselected, -1);
    EXPECT_EQ(intervalChoices(ModelKind::kWNDA, 18).preselected, -1);
    EXPECT_EQ(intervalChoices(ModelKind::kWNDA, 99).preselected, -1);

    struct Row {
        int kind;
        std::size_t count;
        int first, last;
    } rows[] = {{ModelKind::kWNDA, 21, 0, 22}, {ModelKind::kQP, 17, 6, 22}, {ModelKind::kCM, 11, 17, 29},
                {ModelKind::kRS8, 20, 11, 30}, {ModelKind::kLVLA, 31, 0, 30}};
    for (const Row& row : rows) {
        auto codes = intervalCodesOffered(row.kind);
        EXPECT_EQ(codes.size(), row.count) << row.kind;
        EXPECT_EQ(codes.front(), row.first) << row.kind;
        EXPECT_EQ(codes.back(), row.last) << row.kind;
    }
    EXPECT_EQ(intervalLabel(30), "EXTin");
    EXPECT_EQ(intervalLabel(31), std::nullopt);
}

TEST(DialogLists, FixedListsOfWaveAndZero) {
    EXPECT_THAT(waveCancelerEntries(), ElementsAre(" OFF", "  5S", " 10S", " 15S", " 20S", " 25S", " 30S"));
    EXPECT_THAT(zeroEntries(), ElementsAre("    Zero", " Default"));
}

KindTable kindTable(std::vector<std::pair<int, std::string>> lines) {
    KindTable table;
    for (auto& [kind, label] : lines) table.lines.push_back({kind, label});
    return table;
}

std::vector<int> codes(const std::vector<ModeChoice>& choices) {
    std::vector<int> out;
    for (const auto& choice : choices) out.push_back(choice.code);
    return out;
}

TEST(DialogLists, ModeChoicesByFamily) {
    const KindTable wind = kindTable({{20, "Mean"}, {22, "Max"}, {72, "Dir"}, {73, "MaxDir"}, {24, "Time"},
                                      {5, "Temp"}, {0, "Volt"}, {99, "Spare"}, {30, "A"}, {31, "B"}, {33, "C"}});
    EXPECT_THAT(codes(modeChoices(ModelKind::kWNDA, 1, wind)), ElementsAre(72, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kWNDA, 4, wind)), ElementsAre(33, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kWNDA, 5, wind)), ElementsAre(127));
    // The installed wind table has eight lines: positions 8 and 10 are not read from beyond it.
    const KindTable shortWind = kindTable({{20, "Mean"}, {22, "Max"}, {72, "Dir"}, {73, "MaxDir"}, {24, "Time"},
                                           {5, "Temp"}, {0, "Volt"}, {99, "Spare"}});
    EXPECT_THAT(codes(modeChoices(ModelKind::kWNDA, 3, shortWind)), ElementsAre(127));

    const KindTable level = kindTable({{32, "Level"}, {5, "Temp"}, {0, "Volt"}});
    EXPECT_THAT(codes(modeChoices(ModelKind::kLVLA, 1, level)), ElementsAre(5, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kQS, 0, level)), ElementsAre(0, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kQS, 2, level)), ElementsAre(32, 5, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kSEAL2, 9, kindTable({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}, {5, "e"},
                                                                 {6, "f"}, {7, "g"}, {8, "h"}}))),
                ElementsAre(8, 127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kLVLA, 7, level)), ElementsAre(127));
    EXPECT_THAT(codes(modeChoices(ModelKind::kUnknown, 0, level)), ElementsAre(32, 5, 0));

    auto weather = modeChoices(ModelKind::kCMLOGR, 1, wind);
    ASSERT_EQ(weather.size(), 2u);
    EXPECT_EQ(weather[0].code, 22);
    EXPECT_EQ(weather[0].name, " Enable");
    EXPECT_EQ(weather[1].name, "Disable");
    EXPECT_EQ(choicePosition(weather, 127), 1);
    EXPECT_EQ(choicePosition(weather, 5), -1);
}

TEST(DialogLists, ModeChoicesAreNamedByTheKindTheyRecord) {
    // A line's label names the channel; the choice is the kind, named by the kind's own name.
    KindTable table = kindTable({{32, "ch1 level gauge"}, {5, "ch2 water temp"}});
    table.kinds[32].name = "Level";
    table.kinds[5].name = "Temp";
    auto names = [](const std::vector<ModeChoice>& choices) {
        std::vector<std::string> out;
        for (const auto& choice : choices) out.push_back(choice.name);
        return out;
    };
    EXPECT_THAT(names(modeChoices(ModelKind::kUnknown, 0, table)), ElementsAre("Level", "Temp"));
    EXPECT_THAT(names(modeChoices(ModelKind::kLVLA, 1, table)), ElementsAre("Temp", "Disable"));
    EXPECT_THAT(names(modeChoices(ModelKind::kRGT1, 0, table)), ElementsAre(" Enable", "Disable"));
}

TEST(DialogChecks, RtcAdjustmentIsAWholeNumberFromMinus64To63) {
    for (const char* good : {"-64", "63", "0", " +5 "}) EXPECT_EQ(checkRtcAdjustment({good}), "") << good;
    for (const char* bad : {"64", "-65", "", "5x", "1.5", "99999999999"})
        EXPECT_NE(checkRtcAdjustment({bad}), "") << bad;
}

TEST(DialogChecks, MemosFitTheLoggersSixteenBytesAndTheComplaintNamesTheMemo) {
    EXPECT_EQ(checkMemos({"KAWABE-GAWA 0001", "", "ｶﾜﾍﾞ", "観測所観測所観測", "", ""}), "");
    struct Row {
        std::vector<std::string> memos;
        const char* complaint;
    } rows[] = {
        {{"KAWABE-GAWA 00012"}, "MEMO 1は16バイト(半角16文字、全角8文字)以内で入力してください。"},
        // Nine characters, but eighteen bytes.
        {{"", "", "観測所観測所観測所"}, "MEMO 3は16バイト(半角16文字、全角8文字)以内で入力してください。"},
        {{"", "A\r\nclear"}, "MEMO 2に制御文字は使えません。"},  // would end the write command early
        {{"", "", "", "", "", "😀"}, "MEMO 6に使えない文字があります。"},  // nothing the logger can hold
    };
    for (const Row& row : rows) EXPECT_EQ(checkMemos(row.memos), row.complaint);
}

TEST(DialogChecks, DateAndTimeFieldsReadBackAsNumbersInRange) {
    auto t = readDateTimeFields({"26/12/08", "09:30:15"});
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 26);
    EXPECT_EQ(t->second, 15);
    EXPECT_EQ(dateTimeFields(*t), (std::vector<std::string>{"26/12/08", "09:30:15"}));
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"26/12", "09:30:15"}, {"26/13/08", "09:30:15"}, {"2026/12/08", "09:30:15"}, {"26/12/08", "24:00:00"},
             {"26/12/08", "09:30:15x"}, {"26/12/08"}}) {
        EXPECT_EQ(readDateTimeFields(bad), std::nullopt) << bad[0];
        EXPECT_NE(checkDateTime(bad), "") << bad[0];
    }
    EXPECT_TRUE(readAfterStartFields({"3/15", "7:05"}));
    EXPECT_EQ(afterStartFields(*readAfterStartFields({"3/15", "7:05"})), (std::vector<std::string>{"03/15", "07:05"}));
    EXPECT_FALSE(readAfterStartFields({"0/15", "7:05"}));
    EXPECT_FALSE(readAfterStartFields({"3/15", "7:60"}));
    EXPECT_FALSE(readAfterStartFields({"3/15 7:05"}));
}

TEST(DialogChecks, OffsetWithinTheLoggersBoundsOrTheWidestBeforeTheyAreRead) {
    const OffsetLimits unread;
    EXPECT_EQ(unread.lower, -655.35);
    EXPECT_EQ(unread.upper, 655.35);
    EXPECT_EQ(readOffset("655.35", unread), 655.35);
    EXPECT_EQ(readOffset("655.36", unread), std::nullopt);
    const OffsetLimits logger{-10.0, 10.0};
    EXPECT_EQ(readOffset("-1.5", logger), -1.5);
    EXPECT_EQ(readOffset("10.001", logger), std::nullopt);
    EXPECT_EQ(readOffset("1,5", logger), std::nullopt);
    EXPECT_EQ(checkOffset({"11"}, logger), "-10 から 10 までの数値を入力してください。");
}

}  // namespace
}  // namespace fenta21
