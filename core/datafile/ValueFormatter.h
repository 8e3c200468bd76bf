#pragma once

#include "core/datafile/DataRecord.h"
#include "core/protocol/KindTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fenta21 {

// What a value looks like wherever the program shows one: in CSV files, on the panel, in the
// viewer. Numbers are built digit by digit, so the text is the same whatever the locale says.

// A formatted value in a fixed buffer, for the converter's loop that formats millions of them.
struct ValueText {
    std::array<char, 32> bytes{};
    std::uint8_t length = 0;
    bool ok = false;  // false: the kind is undefined or the value cannot be shown ("-------")

    std::string_view view() const { return {bytes.data(), length}; }
};

struct FormattedValue {
    std::string text;
    bool ok = false;
};

// The value text of a record, normally 7 characters:
//   '+'  signed, zero-filled, the point placed by the decimals:    "-001.23", " +00123"
//   ' '  right-aligned with blanks, no zero before the point:     " 123.45", "    .05", "    -.1"
//   '#'  tenths:                                                   "   12.3"
//   '$'  wind direction 1-18 by name:                              "    NNE", "   CALM"
//   'h'  the record's time of day plus the value in seconds:       " 23:59:40"
//   other types (the '%' type among them) show the magnitude zero-filled: " 001.23", "  00123".
// A value wider than the field (a folded gap of 100000 or more) widens the text rather than
// losing digits. An undefined kind, or a direction outside 1-18, gives "-------" and not ok.
ValueText formatValueText(const DataRecord& record, const KindTable& kinds);
FormattedValue formatValue(const DataRecord& record, const KindTable& kinds);

// The value text followed by the kind's three-character unit, or "-- " for an undefined kind.
std::string formatValueWithUnit(const DataRecord& record, const KindTable& kinds);

// The name of a wind direction index 1-18 ("NNE" ... "N", "CALM", "ERR"), or "" outside.
std::string_view directionName(int index);

// The same for a value read from the logger without a timestamp: a time-of-day kind counts
// from midnight.
std::string formatKindValue(int kind, int value, const KindTable& kinds);

}  // namespace fenta21
