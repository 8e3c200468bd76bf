// The fenta21-sim command line: what each option switches on, and what it refuses.
#include "sim/SimOptions.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

SimOptions parse(std::vector<std::string> args, std::string* complaint = nullptr) {
    args.insert(args.begin(), {"--link", "/tmp/tty"});
    SimOptions options;
    std::string said = parseSimOptions(args, options);
    if (complaint) *complaint = said;
    else EXPECT_EQ(said, "");
    return options;
}

TEST(SimOptions, CollectionOptionsReachTheLoggerAndServer) {
    SimOptions o = parse({"--image", "img.bin", "--text-listing", "list.txt", "--card-busy", "--no-end-line", "--bad-crc",
                          "2", "--bad-crc", "5:4", "--bad-complement", "1", "--wrong-start", "3:2", "--wrong-start-alone",
                          "--short-block", "4", "--lost-ack", "6", "--stall-after", "0", "--early-eot", "7", "--nothing-new", "--pace", "9600",
                          "--only-speed", "4800", "--copy-via", "sx  -k img.bin"});
    EXPECT_EQ(o.imageFile, "img.bin");
    EXPECT_EQ(o.textListingFile, "list.txt");
    EXPECT_TRUE(o.faults.cardCollectionRunning);
    EXPECT_TRUE(o.faults.listingWithoutEndLine);
    EXPECT_EQ(o.blockFaults.badCrc, (std::map<int, int>{{2, 1}, {5, 4}}));
    EXPECT_EQ(o.blockFaults.badComplement, (std::map<int, int>{{1, 1}}));
    EXPECT_EQ(o.blockFaults.wrongStart, (std::map<int, int>{{3, 2}}));
    EXPECT_TRUE(o.blockFaults.wrongStartAlone);
    EXPECT_EQ(o.blockFaults.shortBlock, (std::map<int, int>{{4, 1}}));
    EXPECT_EQ(o.blockFaults.lostAck, (std::map<int, int>{{6, 1}}));
    EXPECT_EQ(o.blockFaults.stallAfter, 0);
    EXPECT_EQ(o.blockFaults.earlyEotAfter, 7);
    EXPECT_TRUE(o.faults.nothingNew);
    EXPECT_EQ(o.pace, 9600u);
    EXPECT_EQ(o.onlySpeed, 4800u);
    EXPECT_EQ(o.copyVia, (std::vector<std::string>{"sx", "-k", "img.bin"}));
    EXPECT_FALSE(o.modem);
}

TEST(SimOptions, StationsMakeAModemWithTheirFaultsAndTimings) {
    SimOptions o = parse({"--station", "03-1234-5678", "--station", "0399:3", "--station", "0466:2:RIVER", "--guard-ms",
                          "0", "--ring-ms", "2000", "--modem-silent", "--unanswered-dials", "1", "--never-answers",
                          "--can-lines", "2", "--silent-answer", "--plus-line-answers", "3", "--drop-after", "5000",
                          "--bad-crc", "2"});
    EXPECT_TRUE(o.modem);
    ASSERT_EQ(o.stations.size(), 3u);
    EXPECT_EQ(o.stations[0].number, "03-1234-5678");
    EXPECT_EQ(o.stations[0].units, 1);
    EXPECT_EQ(o.stations[0].name, "");
    EXPECT_EQ(o.stations[1].units, 3);
    EXPECT_EQ(o.stations[2].units, 2);
    EXPECT_EQ(o.stations[2].name, "RIVER");
    EXPECT_EQ(o.modemTimings.escapeGuard, std::chrono::milliseconds(0));
    EXPECT_EQ(o.modemTimings.ringTime, std::chrono::milliseconds(2000));
    EXPECT_TRUE(o.modemFaults.silent);
    EXPECT_FALSE(o.faults.silent);  // the loggers' own fault is a different one
    EXPECT_EQ(o.stationFaults.unansweredDials, 1);
    EXPECT_TRUE(o.stationFaults.neverAnswers);
    EXPECT_EQ(o.stationFaults.canLines, 2);
    EXPECT_TRUE(o.stationFaults.silentAnswer);
    EXPECT_EQ(o.stationFaults.plusLineAnswers, 3);
    EXPECT_EQ(o.stationFaults.dropAfterBytes, 5000u);
    EXPECT_EQ(o.blockFaults.badCrc, (std::map<int, int>{{2, 1}}));  // for the stations' loggers
}

TEST(SimOptions, BadArgumentsAreNamed) {
    struct Row {
        std::vector<std::string> args;
        const char* complaint;
    } rows[] = {
        {{"--bad-crc"}, "--bad-crc needs K or K:N"},
        {{"--bad-crc", "0"}, "--bad-crc needs K or K:N"},
        {{"--lost-ack", "2:x"}, "--lost-ack needs K or K:N"},
        {{"--stall-after", "-1"}, "--stall-after needs a block number (0 or more)"},
        {{"--early-eot", "x"}, "--early-eot needs a block number (0 or more)"},
        {{"--pace", "fast"}, "--pace needs a speed in bits per second"},
        {{"--only-speed", "0"}, "--only-speed needs a speed in bits per second"},
        {{"--copy-via", "  "}, "--copy-via needs a program"},
        {{"--units", "10"}, "--units needs 1 to 9"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"--station", "--"}, "--station needs NUMBER[:UNITS[:NAME]] (1 to 9 units)"},
        {{"--station", "0312:10"}, "--station needs NUMBER[:UNITS[:NAME]] (1 to 9 units)"},
        {{"--station", "0312:x"}, "--station needs NUMBER[:UNITS[:NAME]] (1 to 9 units)"},
        {{"--station", "0312", "--station", "03-12"}, "--station 03-12 is given twice"},
        {{"--guard-ms", "-5"}, "--guard-ms needs milliseconds"},
        {{"--drop-after", "0"}, "--drop-after needs a byte count"},
        {{"--station", "0312", "--units", "2"},
         "--units is for a logger served directly; give a station's units as --station NUMBER:UNITS"},
        {{"--station", "0312", "--copy-via", "sx"}, "--copy-via is for a logger served directly, not behind the modem"},
    };
    for (const Row& row : rows) {
        std::string complaint;
        parse(row.args, &complaint);
        EXPECT_EQ(complaint, row.complaint) << row.args[0];
    }
    SimOptions options;
    EXPECT_EQ(parseSimOptions({}, options), "--link PATH is required");
    EXPECT_EQ(parseSimOptions({"--help"}, options), "");
    EXPECT_TRUE(options.help);
}

}  // namespace
}  // namespace fenta21::sim
