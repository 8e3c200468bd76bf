#include "core/panel/ReplyScanner.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace fenta21 {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void ReplyScanner::skipBlanks() {
    while (position_ < text_.size() && isBlank(text_[position_])) ++position_;
}

bool ReplyScanner::integer(int& out, int width) {
    skipBlanks();
    std::string_view field = text_.substr(position_);
    if (width > 0 && field.size() > static_cast<std::size_t>(width)) field = field.substr(0, static_cast<std::size_t>(width));
    std::size_t length = 0;
    if (length < field.size() && (field[length] == '+' || field[length] == '-')) ++length;
    std::size_t digitsStart = length;
    while (length < field.size() && isDigit(field[length])) ++length;
    if (length == digitsStart) return false;
    // from_chars takes no '+', so the sign is applied here.
    bool negative = field[0] == '-';
    long long magnitude = 0;
    auto [end, error] = std::from_chars(field.data() + digitsStart, field.data() + length, magnitude);
    if (error != std::errc() || end != field.data() + length) return false;
    long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    out = static_cast<int>(value);
    position_ += length;
    return true;
}

bool ReplyScanner::digits(int& out, int count) {
    if (count <= 0 || count > 9 || text_.size() - position_ < static_cast<std::size_t>(count)) return false;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        char c = text_[position_ + static_cast<std::size_t>(i)];
        if (!isDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    out = value;
    position_ += static_cast<std::size_t>(count);
    return true;
}

bool ReplyScanner::decimal(double& out) {
    skipBlanks();
    std::string_view field = text_.substr(position_);
    std::size_t signLength = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
    // Only digits and a point may start the number: "inf" and "nan" are no logger values.
    if (signLength >= field.size() || !(isDigit(field[signLength]) || field[signLength] == '.')) return false;
    double magnitude = 0;
    auto [end, error] = std::from_chars(field.data() + signLength, field.data() + field.size(), magnitude,
                                        std::chars_format::general);
    if (error != std::errc() || !std::isfinite(magnitude)) return false;
    out = field[0] == '-' ? -magnitude : magnitude;
    position_ += static_cast<std::size_t>(end - field.data());
    return true;
}

bool ReplyScanner::literal(char c) {
    if (position_ >= text_.size() || text_[position_] != c) return false;
    ++position_;
    return true;
}

std::optional<int> leadingInteger(std::string_view text) {
    int value = 0;
    ReplyScanner scanner(text);
    if (!scanner.integer(value)) return std::nullopt;
    return value;
}

std::optional<double> leadingDecimal(std::string_view text) {
    double value = 0;
    ReplyScanner scanner(text);
    if (!scanner.decimal(value)) return std::nullopt;
    return value;
}

namespace {

bool onlyBlanks(std::string_view text) {
    for (char c : text)
        if (!isBlank(c)) return false;
    return true;
}

}  // namespace

std::optional<int> wholeInteger(std::string_view text) {
    int value = 0;
    ReplyScanner scanner(text);
    if (!scanner.integer(value) || !onlyBlanks(scanner.rest())) return std::nullopt;
    return value;
}

std::optional<double> wholeDecimal(std::string_view text) {
    double value = 0;
    ReplyScanner scanner(text);
    if (!scanner.decimal(value) || !onlyBlanks(scanner.rest())) return std::nullopt;
    return value;
}

std::string fixedDecimal(double value, int decimals) {
    char buffer[400];  // the widest double in fixed notation, with room for the decimals
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    return std::string(buffer, end);
}

std::string signedZeroPadded(double value, int width, int decimals) {
    std::string digits = fixedDecimal(std::fabs(value), decimals);
    std::string text(1, std::signbit(value) ? '-' : '+');
    int padding = width - 1 - static_cast<int>(digits.size());
    if (padding > 0) text.append(static_cast<std::size_t>(padding), '0');
    return text + digits;
}

}  // namespace fenta21
