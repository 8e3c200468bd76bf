// Whether bytes can be a data file at all, and how many pages of records the viewer offers.
#include "core/base/Bytes.h"
#include "core/datafile/DataFileCheck.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21 {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// `size` bytes whose header says the record area runs from `start` to `end`.
std::string image(std::size_t size, std::uint32_t start, std::uint32_t end) {
    std::string header(2, '\0');
    appendInt32LE(header, static_cast<std::int32_t>(end));
    appendInt32LE(header, static_cast<std::int32_t>(start));
    std::string bytes(size, '\xFF');
    bytes.replace(0, header.size(), header);
    return bytes;
}

TEST(DataFileCheck, RefusesWhatCannotHoldAHeaderAndARecordArea) {
    const struct {
        std::string bytes;
        const char* reason;  // empty: a data file
    } rows[] = {
        {image(1024, 640, 1024), ""},
        {image(640, 640, 640), ""},                // an empty record area at the very end
        {image(2048, 640, 4096), ""},              // cut short behind its start: shown in part
        {std::string(100, '\x07'), "it is 100 bytes long, too short for the header of a data file (582 bytes)"},
        {image(1024, 0x100, 1024), "its record area would start at 0x000100, inside the header"},
        {image(1024, 0x800, 0x900), "its record area would start at 0x000800, beyond its end (1024 bytes)"},
        {image(1024, 0x280, 0x200), "its record area would end (0x000200) before it starts (0x000280)"},
        {std::string(1200, 'x'), "beyond its end (1200 bytes)"},  // text: its "offsets" are letters
    };
    for (const auto& row : rows) {
        std::string reason = notADataFileReason(row.bytes);
        if (*row.reason == '\0') EXPECT_THAT(reason, IsEmpty());
        else EXPECT_THAT(reason, HasSubstr(row.reason));
    }
}

TEST(DataFileCheck, CountsThePagesTheRecordsFillWithinTheFile) {
    constexpr std::uint32_t start = 1024;
    constexpr std::uint32_t page = 2048 * 8;
    const struct {
        std::string bytes;
        int pages;
    } rows[] = {
        {image(start, start, start), 1},                        // no records: one empty page
        {image(start + 8, start, start + 8), 1},
        {image(start + page, start, start + page), 1},          // exactly full
        {image(start + page + 8, start, start + page + 8), 2},  // one record more
        {image(start + page, start, start + 3 * page), 1},      // the file ends first
        {image(start + page + 4, start, start + page + 4), 2},  // a record cut short on page 2
    };
    for (const auto& row : rows) EXPECT_EQ(recordPageCount(row.bytes), row.pages);
}

}  // namespace
}  // namespace fenta21
