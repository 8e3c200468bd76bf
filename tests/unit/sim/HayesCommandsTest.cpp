// Reading a Hayes command line: where the commands begin, how they split, what a dial reaches.
#include "sim/HayesCommands.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

std::string describe(const std::optional<std::vector<HayesCommand>>& commands) {
    if (!commands) return "no command line";
    std::string text;
    for (const HayesCommand& c : *commands) text += c.name + ":" + c.argument + " ";
    return text;
}

TEST(HayesCommands, LinesSplitIntoCommands) {
    struct Row {
        const char* line;
        const char* commands;
    } rows[] = {
        {"AT", ""},
        {"ATE0V1", "E:0 V:1 "},
        {"at&f\\n2s7=30X3", "&F: \\N:2 S:7=30 X:3 "},
        {"ATS0?H", "S:0? H: "},
        {"ATDT03-1234,5678;", "D:T03-1234,5678; "},  // the dial takes the rest of the line
        {"ATE1DP0312", "E:1 D:P0312 "},
        {"+++ATH0", "H:0 "},
        {"CONNECT", "no command line"},
        {"A", "no command line"},
    };
    for (const Row& row : rows) EXPECT_EQ(describe(parseHayesLine(row.line)), row.commands) << row.line;
}

TEST(HayesCommands, DialStringsReachTheirDigits) {
    EXPECT_EQ(dialledDigits("T03-1234 (5678),W;"), "0312345678");
    EXPECT_EQ(dialledDigits("P*70#123"), "*70#123");
    EXPECT_EQ(dialledDigits("T"), "");
}

}  // namespace
}  // namespace fenta21::sim
