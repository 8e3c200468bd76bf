#include "core/datafile/DataRecord.h"
#include "sim/image/RecordBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace fenta21 {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

DataRecord fieldsOf(const std::string& record) {
    return recordFields(reinterpret_cast<const unsigned char*>(record.data()));
}

struct LayoutRow {
    const char* legend;
    std::string bytes;
    DataRecord expected;
};

// Hand-made bytes, one row per field boundary: a field split over two bytes is tested with its
// bits on each side alone, so a shift or mask off by one shows in exactly one row.
TEST(RecordLayout, EveryFieldSitsAtItsBits) {
    const LayoutRow rows[] = {
        {"every field at its largest valid value", bytes({0xC7, 0x9F, 0xBF, 0x7D, 0xFF, 0xFF, 0x34, 0x12}),
         {99, 12, 31, 23, 59, 59, 255, 127, 0x1234}},
        {"month bit 3 is byte 0 bit 0", bytes({0x01, 0x00, 0, 0, 0, 0, 0, 0}), {0, 8, 0, 0, 0, 0, 0, 0, 0}},
        {"month bits 2-0 are byte 1 bits 7-5", bytes({0x00, 0xE0, 0, 0, 0, 0, 0, 0}), {0, 7, 0, 0, 0, 0, 0, 0, 0}},
        {"year is byte 0 bits 7-1", bytes({0x02, 0, 0, 0, 0, 0, 0, 0}), {1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"day is byte 1 bits 4-0", bytes({0, 0x01, 0, 0, 0, 0, 0, 0}), {0, 0, 1, 0, 0, 0, 0, 0, 0}},
        {"hour is byte 2 bits 7-3", bytes({0, 0, 0x08, 0, 0, 0, 0, 0}), {0, 0, 0, 1, 0, 0, 0, 0, 0}},
        {"minute bits 5-3 are byte 2 bits 2-0", bytes({0, 0, 0x01, 0, 0, 0, 0, 0}), {0, 0, 0, 0, 8, 0, 0, 0, 0}},
        {"minute bits 2-0 are byte 3 bits 7-5", bytes({0, 0, 0, 0x20, 0, 0, 0, 0}), {0, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"second bits 5-1 are byte 3 bits 4-0", bytes({0, 0, 0, 0x01, 0, 0, 0, 0}), {0, 0, 0, 0, 0, 2, 0, 0, 0}},
        {"second bit 0 is byte 4 bit 7", bytes({0, 0, 0, 0, 0x80, 0, 0, 0}), {0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"kind is byte 4 bits 6-0", bytes({0, 0, 0, 0, 0x7F, 0, 0, 0}), {0, 0, 0, 0, 0, 0, 0, 127, 0}},
        {"channel is byte 5", bytes({0, 0, 0, 0, 0, 0x80, 0, 0}), {0, 0, 0, 0, 0, 0, 128, 0, 0}},
        {"value is little-endian", bytes({0, 0, 0, 0, 0, 0, 0x01, 0x00}), {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"a signed value widens its sign", bytes({0, 0, 0, 0, 5, 0, 0x00, 0x80}), {0, 0, 0, 0, 0, 0, 0, 5, -32768}},
    };
    for (const LayoutRow& row : rows) {
        DataRecord r = fieldsOf(row.bytes);
        const DataRecord& e = row.expected;
        EXPECT_EQ((std::array{r.year, r.month, r.day, r.hour, r.minute, r.second, r.channel, r.kind, r.value}),
                  (std::array{e.year, e.month, e.day, e.hour, e.minute, e.second, e.channel, e.kind, e.value}))
            << row.legend;
    }
}

struct FaultRow {
    const char* legend;
    CalendarTime time;
    RecordFault expected;
};

// Records that break two rules report the one checked first.
TEST(RecordValidity, RulesAreCheckedInOrder) {
    const FaultRow rows[] = {
        {"year 100 before month 0", {2100, 0, 1, 0, 0, 0}, RecordFault::Year},
        {"month 0 before day 0", {2026, 0, 0, 0, 0, 0}, RecordFault::MonthZero},
        {"month 13 before day 0", {2026, 13, 0, 0, 0, 0}, RecordFault::MonthAbove12},
        {"day 0 before hour 24", {2026, 1, 0, 24, 0, 0}, RecordFault::DayZero},
        {"hour 24 before minute 60", {2026, 1, 1, 24, 60, 0}, RecordFault::Hour},
        {"minute 60 before second 60", {2026, 1, 1, 0, 60, 60}, RecordFault::Minute},
        {"second 60", {2026, 1, 1, 0, 0, 60}, RecordFault::Second},
        {"day 31 in February is not checked against the month", {2026, 2, 31, 0, 0, 0}, RecordFault::None},
        {"the last valid moment of a century", {2099, 12, 31, 23, 59, 59}, RecordFault::None},
    };
    for (const FaultRow& row : rows) {
        std::string record = sim::encodeRecord(row.time, 0, 5, 0);
        EXPECT_EQ(recordFault(fieldsOf(record)), row.expected) << row.legend;
        EXPECT_EQ(decodeRecord(record).has_value(), row.expected == RecordFault::None) << row.legend;
    }
}

TEST(RecordValidity, NeverWrittenMemoryAndLargeYearsFailOnTheYear) {
    EXPECT_EQ(recordFault(fieldsOf(std::string(8, '\xFF'))), RecordFault::Year);
    EXPECT_EQ(recordFault(fieldsOf(bytes({0xC8, 0x21, 0, 0, 0, 0, 0, 0}))), RecordFault::Year);
    EXPECT_TRUE(decodeRecord(bytes({0xC6, 0x21, 0, 0, 0, 0, 0, 0})).has_value());  // year 99, January 1st
    EXPECT_FALSE(decodeRecord(std::string(7, '\0')).has_value()) << "fewer than 8 bytes are no record";
}

TEST(StartMarker, IsRecognisedAndDoesNotDecode) {
    const std::string marker = bytes({0, 0, 0, 0, 0x7F, 0, 0, 0});
    EXPECT_TRUE(isStartMarker(marker));
    EXPECT_EQ(recordFault(fieldsOf(marker)), RecordFault::MonthZero);
    EXPECT_FALSE(isStartMarker(bytes({0, 0, 0, 0, 0x7E, 0, 0, 0})));
    EXPECT_FALSE(isStartMarker(bytes({0, 0, 0, 0, 0x7F, 0, 0, 1})));
    EXPECT_FALSE(isStartMarker(std::string(7, '\0')));
}

// The value bytes FF FF are 65535 for a magnitude kind and -1 for every other kind; the rows
// stand on both sides of each range of magnitude kinds.
TEST(RecordValue, SignednessFollowsTheKind) {
    const int unsignedKinds[] = {32, 33, 34, 35, 36, 37, 92, 93, 97, 100, 101, 102};
    const int signedKinds[] = {0, 5, 31, 38, 91, 94, 96, 98, 99, 103, 127};
    for (int kind : unsignedKinds) {
        std::string record = sim::encodeRecord({2026, 1, 1, 0, 0, 0}, 0, kind, 0xFFFF);
        EXPECT_EQ(decodeRecord(record)->value, 65535) << "kind " << kind;
    }
    for (int kind : signedKinds) {
        std::string record = sim::encodeRecord({2026, 1, 1, 0, 0, 0}, 0, kind, 0xFFFF);
        EXPECT_EQ(decodeRecord(record)->value, -1) << "kind " << kind;
    }
}

TEST(RecordInstant, AllSixTimestampFieldsCount) {
    DataRecord a{26, 4, 1, 12, 30, 10, 0, 20, 0};
    DataRecord b = a;
    b.channel = 3;
    b.kind = 5;
    b.value = 9;
    EXPECT_TRUE(a.sameInstant(b)) << "channel, kind and value do not belong to the instant";
    for (std::int32_t DataRecord::*field :
         {&DataRecord::year, &DataRecord::month, &DataRecord::day, &DataRecord::hour, &DataRecord::minute,
          &DataRecord::second}) {
        DataRecord c = a;
        c.*field += 1;
        EXPECT_FALSE(a.sameInstant(c));
    }
}

}  // namespace
}  // namespace fenta21
