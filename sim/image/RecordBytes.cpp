#include "sim/image/RecordBytes.h"

namespace fenta21::sim {
namespace {

std::string packRecord(int year, int month, int day, int hour, int minute, int second, int channel, int kind,
                       int value) {
    std::string bytes(8, '\0');
    bytes[0] = static_cast<char>(((year & 0x7F) << 1) | ((month >> 3) & 0x01));
    bytes[1] = static_cast<char>(((month & 0x07) << 5) | (day & 0x1F));
    bytes[2] = static_cast<char>(((hour & 0x1F) << 3) | ((minute >> 3) & 0x07));
    bytes[3] = static_cast<char>(((minute & 0x07) << 5) | ((second >> 1) & 0x1F));
    bytes[4] = static_cast<char>(((second & 0x01) << 7) | (kind & 0x7F));
    bytes[5] = static_cast<char>(channel & 0xFF);
    bytes[6] = static_cast<char>(value & 0xFF);
    bytes[7] = static_cast<char>((value >> 8) & 0xFF);
    return bytes;
}

// Years from 2000 on are stored as their distance from 2000, so 2100 becomes the invalid 100.
int storedYear(int year) { return year >= 2000 ? year - 2000 : year; }

}  // namespace

std::string encodeRecord(const CalendarTime& t, int channel, int kind, int value) {
    return packRecord(storedYear(t.year), t.month, t.day, t.hour, t.minute, t.second, channel, kind, value);
}

std::string startMarkerRecord() { return std::string("\x00\x00\x00\x00\x7F\x00\x00\x00", 8); }

std::string unwrittenRecord() { return std::string(8, '\xFF'); }

std::string damagedRecord(const CalendarTime& t, int channel, int kind, int value) {
    return packRecord(storedYear(t.year), 13, t.day, t.hour, t.minute, t.second, channel, kind, value);
}


}  // namespace fenta21::sim
