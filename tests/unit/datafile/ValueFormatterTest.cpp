#include "core/datafile/RecordValue.h"
#include "core/datafile/ValueFormatter.h"
#include "tests/unit/datafile/GermanLocale.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <string>

namespace fenta21 {
namespace {

void define(KindTable& table, int kind, char type, int decimals, const char* unit = "   ") {
    KindFormat& format = table.kinds[static_cast<std::size_t>(kind)];
    format.type = type;
    format.decimals = decimals;
    format.unit = unit;
}

KindTable testKinds() {
    KindTable t;
    define(t, 1, '+', 2, "m  ");
    define(t, 2, ' ', 2);
    define(t, 3, '%', 0);
    define(t, 4, '#', 0);
    define(t, 6, '$', 0);
    define(t, 7, 'h', 0);
    define(t, 8, '*', 2);  // a type the formatter has no rule of its own for
    define(t, 9, '+', 0);
    define(t, 10, ' ', 0);
    define(t, 11, '%', 2);
    define(t, 12, '+', 5);
    define(t, 14, ' ', 1);
    define(t, 15, ' ', 3);
    define(t, 32, '+', 0, "m  ");  // kinds 32-37 take their decimals from the kind code
    define(t, 92, '+', 3, "cm ");
    define(t, 100, '+', 0, "mm ");
    define(t, 102, '%', 1);
    return t;
}

struct Row {
    const char* legend;
    int kind;
    int value;
    const char* text;
    bool ok = true;
    int hour = 0, minute = 0, second = 0;
};

DataRecord recordOf(const Row& row) {
    DataRecord r;
    r.hour = row.hour;
    r.minute = row.minute;
    r.second = row.second;
    r.kind = row.kind;
    r.value = row.value;
    return r;
}

const Row kRows[] = {
    // Worked examples.
    {"-123 with 2 decimals, type +", 1, -123, "-001.23"},
    {"-123 with 2 decimals, a type that shows the magnitude", 8, -123, " 001.23"},
    {"12345 with 2 decimals, type space", 2, 12345, " 123.45"},
    {"kind 34 value 65535, 3 decimals from the kind", 34, 65535, "+65.535"},
    {"kind 35 negates: 12345 is -12.345", 35, 12345, "-12.345"},
    {"kind 34 with the same value", 34, 12345, "+12.345"},
    {"time -30 s at 00:00:10", 7, -30, " 23:59:40", true, 0, 0, 10},
    {"direction 0", 6, 0, "-------", false},
    {"direction 19", 6, 19, "-------", false},
    // '+': the sign always shows.
    {"+, no decimals", 9, 123, " +00123"},
    {"+, no decimals, negative", 9, -123, " -00123"},
    {"+, zero", 9, 0, " +00000"},
    {"+, every digit a decimal", 12, 123, "+.00123"},
    // ' ': blanks and no zero before the point, as the logger writes them.
    {"space, 9 with 1 decimal", 14, 9, "     .9"},
    {"space, -1 with 1 decimal", 14, -1, "    -.1"},
    {"space, 100 with 3 decimals", 15, 100, "   .100"},
    {"space, zero with 1 decimal", 14, 0, "     .0"},
    {"space, no decimals", 10, 123, "    123"},
    // ' ' where the logger's own layout would not stand for the value: the decimals are
    // whole and the sign and every digit stay.
    {"space, fewer digits than decimals", 2, 5, "    .05"},
    {"space, fewer digits than decimals, negative", 2, -5, "   -.05"},
    {"space, zero with 2 decimals", 2, 0, "    .00"},
    {"space, a six-character negative keeps its sign", 2, -12345, "-123.45"},
    {"space, widest negative keeps its sign", 2, -32768, "-327.68"},
    {"space, no decimals, six-character negative", 10, -12345, " -12345"},
    {"space, no decimals, widest negative", 10, -32768, " -32768"},
    // '%' and other types: the magnitude, zero-filled.
    {"%, no decimals", 3, 123, "  00123"},
    {"%, no decimals, negative shows the magnitude", 3, -123, "  00123"},
    {"%, 2 decimals", 11, 123, " 001.23"},
    // '#': tenths.
    {"#", 4, 123, "   12.3"},
    {"#, negative below one", 4, -5, "   -0.5"},
    {"#, zero", 4, 0, "    0.0"},
    {"#, widest negative", 4, -32768, " -3276.8"},
    // '$': sixteen directions, calm and error.
    {"direction 1", 6, 1, "    NNE"},
    {"direction 4", 6, 4, "     E "},
    {"direction 16", 6, 16, "     N "},
    {"direction 17", 6, 17, "   CALM"},
    {"direction 18", 6, 18, "    ERR"},
    // 'h': the record's time of day plus seconds.
    {"time, an hour later", 7, 3600, " 13:00:00", true, 12, 0, 0},
    {"time, past midnight", 7, 1, " 00:00:00", true, 23, 59, 59},
    {"time, the largest offset", 7, 32767, " 09:06:07"},
    // Kind folding.
    {"kind 32: 4 decimals", 32, 12345, "+1.2345"},
    {"kind 33: 4 decimals, negated", 33, 12345, "-1.2345"},
    {"kind 36: 2 decimals", 36, 12345, "+123.45"},
    {"kind 37: 2 decimals, negated", 37, 12345, "-123.45"},
    {"kind 33 at its largest", 33, 65535, "-6.5535"},
    {"kind 92", 92, 1500, "+01.500"},
    {"kind 93 is kind 92 negated", 93, 1500, "-01.500"},
    {"kind 100", 100, 0, " +00000"},
    {"kind 101 with 0 is kind 100 with 50000", 101, 0, " +50000"},
    {"kind 101 past 49999 widens rather than losing a digit", 101, 65535, " +115535"},
    {"kind 102 keeps its own format", 102, 65535, " 6553.5"},
    // Undefined kinds.
    {"an undefined kind", 13, 1, "-------", false},
    {"kind 127, never defined", 127, 0, "-------", false},
};

TEST(ValueFormatter, FormatsEveryTypeAndFoldedKind) {
    KindTable kinds = testKinds();
    for (const Row& row : kRows) {
        FormattedValue formatted = formatValue(recordOf(row), kinds);
        EXPECT_EQ(formatted.text, row.text) << row.legend;
        EXPECT_EQ(formatted.ok, row.ok) << row.legend;
    }
}

// What a value text reads as a number, parsed here on its own: a measurement's digits, a
// direction's place among the names, a time's seconds of the day.
double numberInText(std::string_view text, ValueType type) {
    std::string_view t = text.substr(text.find_first_not_of(' '));
    if (type == ValueType::Direction) {
        const char* names[] = {"NNE", "NE", "ENE", "E", "ESE", "SE", "SSE", "S", "SSW",
                               "SW", "WSW", "W", "WNW", "NW", "NNW", "N", "CALM", "ERR"};
        std::string_view name = t.substr(0, t.find_last_not_of(' ') + 1);
        for (int i = 0; i < 18; ++i)
            if (name == names[i]) return i + 1;
        return -1;
    }
    if (type == ValueType::TimeOfDay)
        return std::stoi(std::string(t.substr(0, 2))) * 3600 + std::stoi(std::string(t.substr(3, 2))) * 60 +
               std::stoi(std::string(t.substr(6, 2)));
    if (t.front() == '+') t.remove_prefix(1);
    double number = 0;
    std::from_chars(t.data(), t.data() + t.size(), number);
    return number;
}

TEST(RecordValue, ReadsAsTheValueTextOnEveryRow) {
    KindTable kinds = testKinds();
    for (const Row& row : kRows) {
        DataRecord record = recordOf(row);
        RecordValue value = recordValue(record, kinds);
        ASSERT_EQ(value.ok, row.ok) << row.legend;
        if (!value.ok) continue;
        EXPECT_DOUBLE_EQ(value.number, numberInText(row.text, value.type)) << row.legend;
    }
    EXPECT_EQ(recordValue(recordOf(kRows[6]), kinds).type, ValueType::TimeOfDay);
    EXPECT_EQ(directionDegrees(16), 360.0);
    EXPECT_EQ(directionDegrees(17), std::nullopt) << "calm has no bearing";
}

// A folded gap of 100000 or more, whatever the type: the number is whole, never cut off.
TEST(ValueFormatter, FoldedGapAbove99999IsShownWhole) {
    const char types[] = {'%', ' ', '*', '+'};
    const char* expected[] = {" 1100.00", "1100.00", " 1100.00", "+1100.00"};
    for (std::size_t i = 0; i < 4; ++i) {
        KindTable kinds;
        define(kinds, 100, types[i], 2);
        DataRecord r;
        r.kind = 101;
        r.value = 60000;
        EXPECT_EQ(formatValue(r, kinds).text, expected[i]) << "type '" << types[i] << "'";
    }
    KindTable kinds;
    define(kinds, 100, '%', 0);
    DataRecord r;
    r.kind = 101;
    r.value = 50000;
    EXPECT_EQ(formatValue(r, kinds).text, "  100000");
}

// The logger's own construction of a ' ' text: " %6d", then the point set in by moving the
// digits left and blanking the first character (and the sign's place when there are no decimals).
std::string loggerSpaceText(int value, int decimals) {
    char printed[32];
    std::snprintf(printed, sizeof printed, " %6d", value);
    std::string text = printed;
    int q = 6 - decimals;
    if (q == 6) {
        text[1] = ' ';
        return text;
    }
    for (int i = 1; i <= q; ++i) text[static_cast<std::size_t>(i - 1)] = text[static_cast<std::size_t>(i)];
    text[static_cast<std::size_t>(q)] = '.';
    text[0] = ' ';
    return text;
}

// Whether a text is exactly value / 10^decimals: blanks, an optional '-', digits, and a
// point followed by exactly `decimals` digits.
bool standsFor(const std::string& text, long long value, int decimals) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    bool negative = text[i] == '-';
    if (negative) ++i;
    long long number = 0;
    int fractionDigits = -1;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && fractionDigits < 0) {
            fractionDigits = 0;
        } else if (c >= '0' && c <= '9') {
            number = number * 10 + (c - '0');
            anyDigit = true;
            if (fractionDigits >= 0) ++fractionDigits;
        } else {
            return false;
        }
    }
    if (!anyDigit || (decimals == 0 ? fractionDigits >= 0 : fractionDigits != decimals)) return false;
    return (negative ? -number : number) == value && !(negative && number == 0);
}

// Every value a record can carry once folded (a negated unsigned value down to -65535, a
// folded gap up to 115535), with 0 to 5 decimals: the text stands for the value, keeps the
// logger's layout wherever that layout stands for it, and is never narrower than 7.
TEST(ValueFormatter, SpaceTypeKeepsTheLoggersTextWhereverItStandsForTheValue) {
    KindTable kinds;
    for (int decimals = 0; decimals <= 5; ++decimals) define(kinds, 40 + decimals, ' ', decimals);
    int loggerTextsKept = 0;
    int mended = 0;
    for (int decimals = 0; decimals <= 5; ++decimals) {
        DataRecord r;
        r.kind = 40 + decimals;
        for (int value = -65535; value <= 115535; ++value) {
            r.value = value;
            ValueText text = formatValueText(r, kinds);
            std::string shown(text.view());
            ASSERT_TRUE(standsFor(shown, value, decimals)) << value << " with " << decimals << ": \"" << shown << '"';
            ASSERT_GE(shown.size(), 7u) << value << " with " << decimals;
            std::string logger = loggerSpaceText(value, decimals);
            if (standsFor(logger, value, decimals)) {
                ASSERT_EQ(shown, logger) << value << " with " << decimals;
                ++loggerTextsKept;
            } else {
                ++mended;
            }
        }
    }
    // Both kinds of value really occur in the range, so neither half of the check is idle.
    EXPECT_GT(loggerTextsKept, 0);
    EXPECT_GT(mended, 0);
}

TEST(ValueFormatter, UnitFollowsTheValue) {
    KindTable kinds = testKinds();
    auto withUnit = [&](int kind, int value) {
        DataRecord r;
        r.kind = kind;
        r.value = value;
        return formatValueWithUnit(r, kinds);
    };
    EXPECT_EQ(withUnit(1, -123), "-001.23m  ");
    EXPECT_EQ(withUnit(35, 12345), "-12.345m  ") << "kinds 32-37 show the unit of 32";
    EXPECT_EQ(withUnit(93, 1500), "-01.500cm ") << "kind 93 shows the unit of 92";
    EXPECT_EQ(withUnit(101, 0), " +50000-- ") << "the gap kinds keep their own (here undefined) unit";
    EXPECT_EQ(withUnit(100, 7), " +00007mm ");
    EXPECT_EQ(withUnit(13, 1), "--------- ");
    EXPECT_EQ(withUnit(6, 0), "-------   ") << "a defined kind keeps its unit when the value cannot be shown";
}

TEST(ValueFormatter, KindValueWithoutTimestampCountsFromMidnight) {
    KindTable kinds = testKinds();
    EXPECT_EQ(formatKindValue(7, 3661, kinds), " 01:01:01   ");
    EXPECT_EQ(formatKindValue(7, -30, kinds), " 23:59:30   ");
    EXPECT_EQ(formatKindValue(34, 65535, kinds), "+65.535m  ");
    EXPECT_EQ(formatKindValue(500, 1, kinds), "--------- ") << "a kind outside 0-127 is undefined";
}

TEST(ValueFormatter, TextDoesNotDependOnTheLocale) {
    KindTable kinds = testKinds();
    std::vector<std::string> before;
    for (const Row& row : kRows) before.push_back(formatValue(recordOf(row), kinds).text);
    test::GermanLocale german;
    if (german.named()) {
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        ASSERT_STREQ(probe, "1,5") << "the locale must really be in force for this test to mean anything";
    }
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        EXPECT_EQ(formatValue(recordOf(kRows[i]), kinds).text, before[i]) << kRows[i].legend;
}

}  // namespace
}  // namespace fenta21
