// The Data, Mode and Monitor lines, from the replies of the installed models.
#include "core/panel/MeasurementLines.h"
#include "core/protocol/ModelKinds.h"
#include "core/protocol/ModelRegistry.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

class MeasurementLines : public ::testing::Test {
protected:
    CurrentModel model(const std::string& code) {
        CurrentModel identified;
        EXPECT_EQ(registry.identifyModel(code, &identified), 0) << code;
        return identified;
    }

    test::TempHome home;
    ModelRegistry registry{home.path()};

    void SetUp() override {
        test::installConfiguration(home);
        registry.loadModelTable();
    }
};

TEST_F(MeasurementLines, DataRecordShowsTimeAndLabelledValue) {
    auto record = parseDataReply("26/12/08,09:30:00,0,20,87");
    ASSERT_TRUE(record);
    EXPECT_EQ(dataLine1(*record), "Data 08-09:30:00");
    EXPECT_EQ(dataLine2(*record, model("WNDA-01")), " Mean      8.7m/s");
    // Other models number their channels; the line is right-aligned to seventeen columns.
    auto level = parseDataReply("26/12/08,09:30:00,1,32,-12345");
    ASSERT_TRUE(level);
    EXPECT_EQ(dataLine2(*level, model("LVLA-01")), "  ch 2 -1.2345m  ");
    // The weather loggers show the channel's name from the kind table, not padded: a short
    // name moves the value no further right than the seventeen columns do.
    auto temperature = parseDataReply("26/12/08,09:30:00,5,5,-123");
    ASSERT_TRUE(temperature);
    EXPECT_EQ(dataLine2(*temperature, model("CMLOGR-01")), "   温度-0012.3ﾟC ");
}

TEST_F(MeasurementLines, ChannelOfAnyNumberIsCountedFromOne) {
    // The channel is whatever the logger sent; the largest one still has its successor.
    struct Row {
        const char* reply;
        const char* line;
    } rows[] = {
        {"26/12/08,09:30:00,2147483647,32,12345", "ch 2147+1.2345m  "},
        {"26/12/08,09:30:00,-1,32,12345", "  ch 0 +1.2345m  "},
        {"26/12/08,09:30:00,9,32,12345", " ch 10 +1.2345m  "},
    };
    for (const Row& row : rows) {
        auto record = parseDataReply(row.reply);
        ASSERT_TRUE(record) << row.reply;
        EXPECT_EQ(dataLine2(*record, model("LVLA-01")), row.line) << row.reply;
    }
}

TEST_F(MeasurementLines, DataReplyWithAMissingFieldIsNoRecord) {
    for (const char* bad : {"26/12/08,09:30:00,0,20", "26/12/08 09:30:00,0,20,87", "?", "",
                            "26/12/08,09:30:00,0,20,99999999999"})
        EXPECT_EQ(parseDataReply(bad), std::nullopt) << bad;
    // An unknown kind is shown as undefined, not read from outside the kind table.
    auto odd = parseDataReply("26/12/08,09:30:00,0,300,5");
    ASSERT_TRUE(odd);
    EXPECT_EQ(dataLine2(*odd, model("WNDA-01")), " Mean  --------- ");
}

TEST_F(MeasurementLines, ModeLineByFamilyAndItsBlink) {
    struct Row {
        const char* model;
        int channel;
        const char* reply;
        const char* line;
        const char* blink;
    } rows[] = {
        // The wind logger numbers its channels here, as every model outside the weather group.
        {"WNDA-01", 0, "020 MeanWS", "  ch 1 MeanWS    ", "  ch  "},
        {"WNDA-01", 3, "072 Dir", "  ch 4 Dir       ", "  ch  "},
        {"QS-21", 2, "000 Volt", "  ch 3 Volt      ", "  ch  "},
        {"QS-21", 0, "12", "  ch 1           ", "  ch  "},  // short reply: no name
        // The weather loggers: the name cut to seven columns and not padded, then the state;
        // the blink blanks eight columns whatever they hold.
        {"RGT1-01", 0, "127 Disable", " 平均風Disable   ", "        isable   "},
        {"RGT1-01", 0, "020 MeanWS", " 平均風 Enable   ", "        Enable   "},
        {"XCMLOGR-01", 5, "127", " 温度Disable     ", "        able     "},
        {"XCMLOGR-01", 1, "072", " 平均風 Enable   ", "        Enable   "},  // " 平均風向" cut
    };
    for (const Row& row : rows) {
        CurrentModel shown = model(row.model);
        std::string line = modeLine(shown, row.channel, row.reply);
        EXPECT_EQ(line, row.line) << row.model << " " << row.reply;
        EXPECT_EQ(modeBlinkLine(shown, line), row.blink) << row.model << " " << row.reply;
    }
}

TEST_F(MeasurementLines, MonitorLineByFamily) {
    // Wind: direction (its first two columns dropped) before speed.
    EXPECT_EQ(monitorLine(model("WNDA-01"), 0, "20,52,72,5", false), "  ESE      5.2m/s");
    EXPECT_EQ(monitorLine(model("LVLA-01"), 0, "32,12345", false), "  ch 1 +1.2345m  ");
    EXPECT_EQ(monitorLine(model("LVLA-01"), 0, "32,12345", true), "  ch   +1.2345m  ");
    EXPECT_EQ(monitorLine(model("XCMLOGR-01"), 5, "5,123", false), "   温度+0012.3ﾟC ");
    EXPECT_EQ(monitorLine(model("XCMLOGR-01"), 5, "5,123", true), "       +0012.3ﾟC ");
    // What does not read is shown as it came.
    EXPECT_EQ(monitorLine(model("LVLA-01"), 0, "ERR 3", false), "            ERR 3");
}

TEST(MonitorChannels, HbltzKeepsToChannelsThreeToFive) {
    struct Row {
        int index, channel;
    } rows[] = {{0, 3}, {2, 3}, {3, 3}, {5, 5}, {6, 3}, {-1, 3}};
    for (const Row& row : rows) EXPECT_EQ(monitorChannel(ModelKind::kHBLTZ, row.index), row.channel) << row.index;
    EXPECT_EQ(monitorChannel(ModelKind::kLVLA, 0), 0);
}

}  // namespace
}  // namespace fenta21
