// The monitor's block layout, its list edits, the quiet-tick gap and the memory log.
#include "core/app/MonitorTrace.h"
#include "core/base/Cp932.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace fenta21::test {
namespace {

constexpr auto kSent = CaptureDirection::Sent;
constexpr auto kReceived = CaptureDirection::Received;

std::vector<CaptureEntry> entries(CaptureDirection direction, const std::string& bytes) {
    std::vector<CaptureEntry> out;
    for (unsigned char byte : bytes) out.push_back({direction, byte});
    return out;
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

std::vector<std::string> formatted(MonitorTrace& trace, const std::vector<CaptureEntry>& input, std::size_t lines = 0) {
    MonitorListEdit edit;
    trace.format(input, lines, edit);
    return edit.appended;
}

struct LayoutCase {
    const char* legend;
    std::vector<CaptureEntry> input;
    std::vector<std::string> lines;  // sent chars, sent hex, received chars, received hex
};

class MonitorLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(MonitorLayout, ShowsEachByteInItsDirectionsColumnPair) {
    MonitorTrace trace;
    EXPECT_EQ(formatted(trace, GetParam().input), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MonitorLayout,
    ::testing::Values(
        LayoutCase{"sent carriage return",
                   {{kSent, 0x0D}},
                   {"送信：\x7F ", "......0D", "受信：  ", "________"}},
        LayoutCase{"received half-width katakana byte",
                   {{kReceived, 0xB1}},
                   {"送信：  ", "........", "受信：\x7F ", "______B1"}},
        LayoutCase{"printable bytes and the last of the range",
                   {{kSent, 'c'}, {kSent, ' '}, {kReceived, 0x7F}, {kReceived, 0x1F}},
                   {"送信：c" + std::string(7, ' '), "......6320....", "受信：    \x7F \x7F ", "__________7F1F"}},
        LayoutCase{"a pause is a blank pair",
                   {{kSent, 'A'}, {CaptureDirection::Gap, 0}, {kReceived, 'B'}},
                   {"送信：A" + std::string(5, ' '), "......41....", "受信：    B ", "__________42"}}),
    [](const auto& info) {
        std::string name = info.param.legend;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(MonitorTrace, ThirtyFourthByteCompletesTheBlockAndTheNextStartsAFreshOne) {
    MonitorTrace trace;
    auto lines = formatted(trace, entries(kSent, std::string(34, 'x')));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "送信：" + repeated("x ", 34));
    EXPECT_EQ(utf8ToCp932(lines[1]).size(), MonitorTrace::kBlockWidth);
    EXPECT_EQ(lines[3], "______" + std::string(68, '_'));
    EXPECT_FALSE(trace.blockInProgress());

    MonitorListEdit edit;
    trace.format(entries(kReceived, "y"), 4, edit);
    EXPECT_FALSE(edit.replaceLastBlock);
    EXPECT_EQ(edit.appended, (std::vector<std::string>{"送信：  ", "........", "受信：y ", "______79"}));
}

TEST(MonitorTrace, APartlyFilledBlockIsShownAgainLongerOnTheNextUpdate) {
    MonitorTrace trace;
    formatted(trace, entries(kSent, "AB"));
    MonitorListEdit edit;
    trace.format(entries(kReceived, "C"), 4, edit);
    EXPECT_TRUE(edit.replaceLastBlock);
    EXPECT_EQ(edit.appended, (std::vector<std::string>{"送信：A B   ", "......4142..", "受信：    C ", "__________43"}));
}

TEST(MonitorTrace, TheListKeepsAtMostFourThousandLinesDroppingWholeBlocks) {
    struct Case {
        std::size_t listLines;
        std::size_t blocks;
        std::size_t dropped;
    };
    for (Case c : {Case{3996, 1, 0}, Case{4000, 1, 4}, Case{4000, 3, 12}, Case{100, 1000, 100}}) {
        MonitorTrace trace;
        MonitorListEdit edit;
        trace.format(entries(kSent, std::string(34 * c.blocks, 'z')), c.listLines, edit);
        std::size_t after = c.listLines + edit.appended.size() - edit.droppedFromStart;
        EXPECT_EQ(edit.droppedFromStart, c.dropped) << c.listLines << " lines, " << c.blocks << " blocks";
        EXPECT_LE(after, MonitorTrace::kMaxListLines);
    }
}

TEST(MonitorTrace, ReplacingThePartBlockAtTheLimitDropsNothing) {
    MonitorTrace trace;
    formatted(trace, entries(kSent, "a"), 3996);
    MonitorListEdit edit;
    trace.format(entries(kSent, std::string(33, 'b')), 4000, edit);
    EXPECT_TRUE(edit.replaceLastBlock);
    EXPECT_EQ(edit.appended.size(), 4u);
    EXPECT_EQ(edit.droppedFromStart, 0u);
}

TEST(MonitorTrace, UpdateDrainsTheQueueAndStaysStillWhenIdleAndQuiet) {
    CaptureQueue queue;
    MonitorTrace trace;
    MonitorListEdit edit;
    EXPECT_FALSE(trace.update(queue, LineState::Idle, 0, edit));
    std::uint8_t bytes[] = {'O', 'K'};
    queue.capture(bytes, 2, kReceived);
    ASSERT_TRUE(trace.update(queue, LineState::Idle, 0, edit));
    EXPECT_EQ(edit.appended[2], "受信：O K ");
    EXPECT_EQ(queue.size(), 0u);
    for (int tick = 0; tick < 500; ++tick) EXPECT_FALSE(trace.update(queue, LineState::Idle, 4, edit));
}

TEST(MonitorTrace, SilenceDuringACommunicationAddsABlankPairEveryHundredAndFirstTick) {
    CaptureQueue queue;
    MonitorTrace trace;
    MonitorListEdit edit;
    std::vector<int> gapTicks;
    for (int tick = 1; tick <= 303; ++tick)
        if (trace.update(queue, LineState::Linked, 4, edit)) gapTicks.push_back(tick);
    EXPECT_EQ(gapTicks, (std::vector<int>{101, 202, 303}));
    EXPECT_EQ(edit.appended[0], "送信：" + std::string(6, ' '));
    EXPECT_EQ(edit.appended[3], std::string(12, '_'));
}

TEST(MonitorTrace, TrafficRestartsTheQuietCount) {
    CaptureQueue queue;
    MonitorTrace trace;
    MonitorListEdit edit;
    for (int tick = 0; tick < 99; ++tick) trace.update(queue, LineState::Linked, 0, edit);
    std::uint8_t byte = 'x';
    queue.capture(&byte, 1, kSent);
    EXPECT_TRUE(trace.update(queue, LineState::Linked, 0, edit));
    for (int tick = 0; tick < 100; ++tick) EXPECT_FALSE(trace.update(queue, LineState::Linked, 4, edit));
}

TEST(MonitorTrace, LogHoldsCompletedBlocksAndThePartBlockAtClose) {
    MonitorTrace trace;
    formatted(trace, entries(kSent, std::string(34, 'p')));
    formatted(trace, entries(kReceived, "\x06"));
    std::string log = trace.closeLog();

    std::string block;
    block += utf8ToCp932("送信：");
    block += repeated("p ", 34) + "\r\n......" + repeated("70", 34) + "\r\n";
    block += utf8ToCp932("受信：") + std::string(68, ' ') + "\r\n______" + std::string(68, '_') + "\r\n";
    std::string part = utf8ToCp932("送信：  ") + "\r\n........\r\n" + utf8ToCp932("受信：") + "\x7F \r\n______06\r\n";
    EXPECT_EQ(log, block + part);
}

TEST(MonitorTrace, ClosingWithoutAPartBlockAppendsNothing) {
    MonitorTrace trace;
    formatted(trace, entries(kSent, std::string(34, 'q')));
    EXPECT_EQ(trace.closeLog().size(), 4 * (MonitorTrace::kBlockWidth + 2));
}

TEST(MonitorTrace, EachOpeningStartsTheLogAfresh) {
    MonitorTrace trace;
    formatted(trace, entries(kSent, std::string(68, 'r')));
    trace.rewindLog();
    formatted(trace, entries(kSent, std::string(34, 's')));
    std::string log = trace.closeLog();
    // Only the block completed since the opening, never older bytes behind it.
    EXPECT_EQ(log.size(), 4 * (MonitorTrace::kBlockWidth + 2));
    EXPECT_EQ(log.find('r'), std::string::npos);
}

}  // namespace
}  // namespace fenta21::test
