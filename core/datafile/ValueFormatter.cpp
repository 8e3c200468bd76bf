#include "core/datafile/ValueFormatter.h"

#include "core/datafile/KindFolding.h"

#include <cstring>

namespace fenta21 {
namespace {

constexpr std::string_view kUndefinedText = "-------";
constexpr std::string_view kUndefinedUnit = "-- ";

// Index 1-18: the direction names of the '$' type, each four characters.
constexpr std::string_view kDirections[] = {"",     " NNE", "  NE", " ENE", "  E ", " ESE", "  SE",
                                            " SSE", "  S ", " SSW", "  SW", " WSW", "  W ", " WNW",
                                            "  NW", " NNW", "  N ", "CALM", " ERR"};

constexpr unsigned long long kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000};

// Builds a text at the end of a fixed buffer's used part; the buffer is far larger than any
// value text (at most 20 digits of a 64-bit number and a few signs and points).
class TextBuilder {
public:
    explicit TextBuilder(ValueText& text) : text_(text) {}

    void put(char c) { text_.bytes[text_.length++] = c; }
    void put(std::string_view s) {
        std::memcpy(text_.bytes.data() + text_.length, s.data(), s.size());
        text_.length = static_cast<std::uint8_t>(text_.length + s.size());
    }
    void blanks(int count) {
        for (int i = 0; i < count; ++i) put(' ');
    }
    // The number with at least minDigits digits, zeros in front. With minDigits 0 a zero
    // gives no digit at all (".00123" when every digit is a decimal).
    void digits(unsigned long long number, int minDigits) {
        char reversed[24];
        int count = 0;
        while (number > 0) {
            reversed[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
        while (count < minDigits) reversed[count++] = '0';
        while (count > 0) put(reversed[--count]);
    }
    // Integer part, point and `decimals` digits of a magnitude counted in units of the last digit.
    void fixedPoint(unsigned long long magnitude, int decimals, int minIntegerDigits) {
        unsigned long long scale = kPowersOfTen[decimals];
        digits(magnitude / scale, minIntegerDigits);
        if (decimals == 0) return;
        put('.');
        digits(magnitude % scale, decimals);
    }

private:
    ValueText& text_;
};

// Measures what a TextBuilder call would write, so that a number can be right-aligned.
int signedFixedPointWidth(bool negative, unsigned long long magnitude, int decimals, int minIntegerDigits) {
    int integerDigits = 0;
    for (unsigned long long n = magnitude / kPowersOfTen[decimals]; n > 0; n /= 10) ++integerDigits;
    if (integerDigits < minIntegerDigits) integerDigits = minIntegerDigits;
    return (negative ? 1 : 0) + integerDigits + (decimals > 0 ? 1 + decimals : 0);
}

void formatNumber(ValueText& text, char type, int decimals, long long value) {
    TextBuilder out(text);
    bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    // The field holds six characters of digits and point; zero-filled types fill them all.
    int zeroFilledIntegerDigits = 5 - decimals;
    if (type == '+') {
        // The sign always shows. Without decimals the leading blank stays: " +00123".
        if (decimals == 0) out.put(' ');
        out.put(negative ? '-' : '+');
        out.fixedPoint(magnitude, decimals, decimals == 0 ? 5 : zeroFilledIntegerDigits);
        return;
    }
    if (type == ' ') {
        // Blank-filled and right-aligned in seven characters, the logger's own way: no digit
        // before the point when the whole number is decimals ("     .9", "    -.1"). The
        // decimals are always whole and the sign always stands, so a small value reads
        // "    .05" and a wide negative one "-327.68"; a number wider than the field widens it.
        int minIntegerDigits = decimals == 0 ? 1 : 0;
        int width = signedFixedPointWidth(negative, magnitude, decimals, minIntegerDigits);
        out.blanks(7 - width);
        if (negative) out.put('-');
        out.fixedPoint(magnitude, decimals, minIntegerDigits);
        return;
    }
    // Every other type shows the magnitude: these kinds measure something that has no sign.
    // Without decimals the sign's place stays blank, as the logger's own display has it.
    out.put(decimals == 0 ? "  " : " ");
    out.fixedPoint(magnitude, decimals, decimals == 0 ? 5 : zeroFilledIntegerDigits);
}

void formatTenths(ValueText& text, long long value) {
    TextBuilder out(text);
    bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    int width = signedFixedPointWidth(negative, magnitude, 1, 1);
    out.put(' ');
    out.blanks(6 - width);
    if (negative) out.put('-');
    out.fixedPoint(magnitude, 1, 1);
}

void formatTimeOfDay(ValueText& text, const DataRecord& record, long long seconds) {
    constexpr long long kDay = 86400;
    long long t = record.hour * 3600LL + record.minute * 60LL + record.second + seconds;
    t %= kDay;
    if (t < 0) t += kDay;
    TextBuilder out(text);
    out.put(' ');
    out.digits(static_cast<unsigned long long>(t / 3600), 2);
    out.put(':');
    out.digits(static_cast<unsigned long long>(t % 3600 / 60), 2);
    out.put(':');
    out.digits(static_cast<unsigned long long>(t % 60), 2);
}

ValueText undefinedText() {
    ValueText text;
    TextBuilder(text).put(kUndefinedText);
    return text;
}

}  // namespace

ValueText formatValueText(const DataRecord& record, const KindTable& kinds) {
    FoldedValue folded = foldForValue(record.kind, record.value);
    const KindFormat* format = kinds.format(folded.kind);
    if (format == nullptr) return undefinedText();

    ValueText text;
    switch (format->type) {
    case '$':
        if (folded.value < 1 || folded.value > 18) return undefinedText();
        TextBuilder(text).put("   ");
        TextBuilder(text).put(kDirections[folded.value]);
        break;
    case '#':
        formatTenths(text, folded.value);
        break;
    case 'h':
        formatTimeOfDay(text, record, folded.value);
        break;
    default: {
        int decimals = folded.decimals >= 0 ? folded.decimals : format->decimals;
        if (decimals < 0) decimals = 0;
        if (decimals > 5) decimals = 5;
        formatNumber(text, format->type, decimals, folded.value);
    }
    }
    text.ok = true;
    return text;
}

FormattedValue formatValue(const DataRecord& record, const KindTable& kinds) {
    ValueText text = formatValueText(record, kinds);
    return FormattedValue{std::string(text.view()), text.ok};
}

std::string formatValueWithUnit(const DataRecord& record, const KindTable& kinds) {
    std::string text(formatValueText(record, kinds).view());
    const KindFormat* format = kinds.format(foldForUnit(record.kind));
    text += format != nullptr ? std::string_view(format->unit) : kUndefinedUnit;
    return text;
}

std::string_view directionName(int index) {
    if (index < 1 || index > 18) return {};
    std::string_view name = kDirections[index];
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

std::string formatKindValue(int kind, int value, const KindTable& kinds) {
    DataRecord record;  // midnight
    record.kind = kind;
    record.value = value;
    return formatValueWithUnit(record, kinds);
}

}  // namespace fenta21
