// The simulated logger's settings and measurements: the reply forms the panel parses, writes
// that change its state, and "?" for what its model lacks.
#include "core/protocol/ModelKinds.h"
#include "core/protocol/ModelTable.h"
#include "sim/LoggerClock.h"
#include "sim/LoggerProfile.h"
#include "sim/SimLogger.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

std::string ask(SimLogger& logger, const std::string& command) {
    std::string reply = logger.receive(command + "\r\n");
    return reply.size() >= 2 ? reply.substr(0, reply.size() - 2) : reply;
}

// A logger whose clock stands at a fixed second unless the test moves it.
struct FixedLogger {
    explicit FixedLogger(const std::string& model) {
        logger.setIdentity("SIM", model);
        logger.setLoggerClockSource([this] { return seconds; });
        logger.receive("time=261208093015\r\n");
    }
    long long seconds = 0;
    SimLogger logger;
};

TEST(LoggerProfiles, ChannelCountsAreThoseOfTheInstalledModelTable) {
    ModelTable table = loadModelTable(std::string(FENTA21_CONFIG_DIR) + "/type.dat");
    ASSERT_EQ(table.entries.size(), 9u);
    for (const ModelEntry& entry : table.entries) EXPECT_EQ(profileFor(entry.code).channelCount, entry.channelCount) << entry.code;
}

TEST(LoggerSettings, WritesChangeTheStateAndAnswerTheNewValue) {
    FixedLogger fixed("LVLA-01");
    SimLogger& logger = fixed.logger;
    struct Row {
        const char* write;
        const char* answer;
        const char* read;
    } rows[] = {
        {"memo3=KAWABE", "KAWABE", "memo3"},       {"radj=-64", "-64", "radj"},
        {"after=12312359", "12312359", "after"},   {"pretm=45", "45", "pretm"},
        {"intv=19", "19 15min", "intv"},           {"offs0=-1.500000", "-1.5000", "offs0"},
        {"wave=6", "6", "wave"},                   {"mode1=127", "127 Disable", "mode1"},
        {"mode2=32", "032 Level", "mode2"},        {"time=270102030405", "270102030405", "time"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ask(logger, row.write), row.answer) << row.write;
        EXPECT_EQ(ask(logger, row.read), row.answer) << row.read;
    }
}

TEST(LoggerSettings, RefusedWritesChangeNothing) {
    FixedLogger fixed("LVLA-01");
    SimLogger& logger = fixed.logger;
    const char* refused[] = {"radj=64",       "radj=x",          "memo1=12345678901234567", "after=13010000",
                             "after=0101",    "pretm=60",        "intv=31",                 "offs0=10.5",
                             "wave=7",        "mode1=99",        "time=261308093015",       "mode3=127"};
    for (const char* write : refused) EXPECT_EQ(ask(logger, write), "?") << write;
    EXPECT_EQ(ask(logger, "radj"), "0");
    EXPECT_EQ(ask(logger, "memo1"), "MEMO 1");
    EXPECT_EQ(ask(logger, "pretm"), "0");
    EXPECT_EQ(ask(logger, "offs0"), "0.0000");
    EXPECT_EQ(ask(logger, "time"), "261208093015");
}

TEST(LoggerSettings, CommandsAModelLacksAreAnsweredWithAQuestionMark) {
    FixedLogger wind("WNDA-01");
    for (const char* command : {"digit", "offs0", "limtu0", "wave", "zero", "zero0", "zero=1", "intv=19", "mode6"})
        EXPECT_EQ(ask(wind.logger, command), "?") << command;
    FixedLogger snow("QS-21");
    EXPECT_EQ(ask(snow.logger, "zero"), "1, Default");
    EXPECT_EQ(ask(snow.logger, "zero=0"), "0,    Zero");
    EXPECT_EQ(ask(snow.logger, "zero0"), "?");
    FixedLogger strain("RS8-04");
    EXPECT_EQ(ask(strain.logger, "zero9=0"), "0,    Zero");
    EXPECT_EQ(ask(strain.logger, "zero10"), "?");
    EXPECT_EQ(ask(strain.logger, "pretm=90"), "30sec");  // seconds for the families that count them
}

TEST(LoggerSettings, MonitorFormsByFamily) {
    FixedLogger wind("WNDA-01");
    int kind1 = 0, value1 = 0, kind2 = 0, value2 = 0;
    ASSERT_EQ(std::sscanf(ask(wind.logger, "moni3").c_str(), "%d,%d,%d,%d", &kind1, &value1, &kind2, &value2), 4);
    EXPECT_EQ(kind1, 20);
    EXPECT_EQ(kind2, 72);
    FixedLogger hbltz("HBLTZ-01");
    EXPECT_EQ(ask(hbltz.logger, "moni1"), "?");
    ASSERT_EQ(std::sscanf(ask(hbltz.logger, "moni5").c_str(), "%d,%d,%d,%d", &kind1, &value1, &kind2, &value2), 4);
    FixedLogger strain("RS8-04");
    EXPECT_EQ(ask(strain.logger, "moni2"), "60,1020");
    ask(strain.logger, "zero2=0");
    EXPECT_LT(std::stoi(ask(strain.logger, "moni2").substr(3)), 10);  // zeroed: reads near 0
    ask(strain.logger, "mode2=127");
    EXPECT_EQ(ask(strain.logger, "moni2"), "127,0");
}

TEST(LoggerSettings, DataHistoryStepsBackOneChannelAtATime) {
    FixedLogger fixed("LVLA-01");  // three channels, ten-minute interval
    EXPECT_EQ(ask(fixed.logger, "data"), ask(fixed.logger, "data0"));
    EXPECT_EQ(ask(fixed.logger, "data0").substr(0, 20), "26/12/08,09:30:00,0,");
    EXPECT_EQ(ask(fixed.logger, "data-2").substr(0, 20), "26/12/08,09:30:00,2,");
    EXPECT_EQ(ask(fixed.logger, "data-3").substr(0, 20), "26/12/08,09:20:00,0,");
    EXPECT_EQ(ask(fixed.logger, "data1"), "?");
    EXPECT_EQ(ask(fixed.logger, "data-30000"), "?");
}

TEST(LoggerClockRuns, FromWhatItWasLastSetTo) {
    FixedLogger fixed("WNDA-01");
    fixed.seconds += 75;
    EXPECT_EQ(ask(fixed.logger, "time"), "261208093130");
    EXPECT_EQ(fixed.logger.loggerTime(), (CalendarTime{2026, 12, 8, 9, 31, 30}));
    // Across a year's end.
    fixed.logger.receive("time=261231235959\r\n");
    fixed.seconds += 2;
    EXPECT_EQ(ask(fixed.logger, "time"), "270101000001");
}

TEST(LoggerSettings, ComSpeedFollowsTheLine) {
    FixedLogger fixed("WNDA-01");
    fixed.logger.setLineSpeed(38400);
    EXPECT_EQ(ask(fixed.logger, "coms"), "07 38400bps");
    // A settable reply still wins over the built-in setting.
    fixed.logger.setReply("batt", "55");
    EXPECT_EQ(ask(fixed.logger, "batt"), "55");
}

}  // namespace
}  // namespace fenta21::sim
