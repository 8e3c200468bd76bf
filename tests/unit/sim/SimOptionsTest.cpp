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
                          "--short-block", "4", "--lost-ack", "6", "--stall-after", "0", "--pace", "9600",
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
    EXPECT_EQ(o.pace, 9600u);
    EXPECT_EQ(o.onlySpeed, 4800u);
    EXPECT_EQ(o.copyVia, (std::vector<std::string>{"sx", "-k", "img.bin"}));
    EXPECT_FALSE(o.modem);
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
        {{"--pace", "fast"}, "--pace needs a speed in bits per second"},
        {{"--only-speed", "0"}, "--only-speed needs a speed in bits per second"},
        {{"--copy-via", "  "}, "--copy-via needs a program"},
        {{"--units", "10"}, "--units needs 1 to 9"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
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
