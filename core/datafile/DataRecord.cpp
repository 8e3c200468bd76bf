#include "core/datafile/DataRecord.h"

namespace fenta21 {

bool kindIsUnsigned(int kind) {
    return (kind >= 32 && kind <= 37) || kind == 92 || kind == 93 || kind == 97 || (kind >= 100 && kind <= 102);
}

DataRecord recordFields(const unsigned char* b) {
    DataRecord r;
    r.year = b[0] >> 1;
    r.month = ((b[0] & 0x01) << 3) | (b[1] >> 5);
    r.day = b[1] & 0x1F;
    r.hour = b[2] >> 3;
    r.minute = ((b[2] & 0x07) << 3) | (b[3] >> 5);
    r.second = ((b[3] & 0x1F) << 1) | (b[4] >> 7);
    r.kind = b[4] & 0x7F;
    r.channel = b[5];
    auto raw = static_cast<std::uint16_t>(b[6] | (b[7] << 8));
    r.value = kindIsUnsigned(r.kind) ? static_cast<std::int32_t>(raw) : static_cast<std::int16_t>(raw);
    return r;
}

RecordFault recordFault(const DataRecord& r) {
    if (r.year > 99) return RecordFault::Year;
    if (r.month == 0) return RecordFault::MonthZero;
    if (r.month > 12) return RecordFault::MonthAbove12;
    if (r.day == 0) return RecordFault::DayZero;
    if (r.hour > 23) return RecordFault::Hour;
    if (r.minute > 59) return RecordFault::Minute;
    if (r.second > 59) return RecordFault::Second;
    return RecordFault::None;
}

std::optional<DataRecord> decodeRecord(const unsigned char* bytes) {
    DataRecord r = recordFields(bytes);
    if (recordFault(r) != RecordFault::None) return std::nullopt;
    return r;
}

std::optional<DataRecord> decodeRecord(std::string_view bytes) {
    if (bytes.size() < kRecordBytes) return std::nullopt;
    return decodeRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
}

bool isStartMarker(const unsigned char* b) {
    return b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == 0 && b[4] == 0x7F && b[5] == 0 && b[6] == 0 && b[7] == 0;
}

bool isStartMarker(std::string_view bytes) {
    return bytes.size() >= kRecordBytes && isStartMarker(reinterpret_cast<const unsigned char*>(bytes.data()));
}

}  // namespace fenta21
