#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fenta21 {

// One measurement as the logger stores it: 8 bytes holding a binary timestamp, the kind of
// measurement, the channel and a 16-bit value.
inline constexpr std::size_t kRecordBytes = 8;

struct DataRecord {
    std::int32_t year = 0;  // within the century, 0-99; shown as 2000 + year
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t channel = 0;
    std::int32_t kind = 0;   // 0-127
    std::int32_t value = 0;  // the 16 bits widened: unsigned or signed by kind

    // Two records belong to the same measurement instant when their timestamps are equal.
    bool sameInstant(const DataRecord& other) const {
        return year == other.year && month == other.month && day == other.day && hour == other.hour &&
               minute == other.minute && second == other.second;
    }
};

// The first rule a record breaks, in the order the rules are checked.
enum class RecordFault { None, Year, MonthZero, MonthAbove12, DayZero, Hour, Minute, Second };

// True for the kinds whose 16-bit value is a magnitude (levels, gaps and the like); every
// other kind holds a two's complement number.
bool kindIsUnsigned(int kind);

// The fields of 8 bytes, unchecked.
DataRecord recordFields(const unsigned char* bytes);
RecordFault recordFault(const DataRecord& fields);

// The record, or nothing when the bytes are not a valid record: never-written memory (all
// bits set) fails on the year, a start marker on the month. The day is not checked against
// the month. `bytes` must hold at least 8 bytes.
std::optional<DataRecord> decodeRecord(std::string_view bytes);
std::optional<DataRecord> decodeRecord(const unsigned char* bytes);

// The logger writes 00 00 00 00 7F 00 00 00 where a recording starts; converters skip these
// at the front of the record area.
bool isStartMarker(std::string_view bytes);
bool isStartMarker(const unsigned char* bytes);

}  // namespace fenta21
