#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// Reads the logger's replies field by field, the way the logger writes them ("%02d", "%d",
// "%f" and separators), without the C library's scanf: a number that does not fit an int is
// a failure rather than undefined behaviour, and nothing depends on the locale. A caller
// that needs every field checks each step and changes nothing until all of them succeeded.
class ReplyScanner {
public:
    explicit ReplyScanner(std::string_view text) : text_(text) {}

    // A whole number: leading blanks skipped, an optional sign, then digits; with a width,
    // at most that many characters (the sign included), as "%2d" reads.
    bool integer(int& out, int width = 0);
    // Exactly `count` decimal digits, no sign and no blanks: the logger's "%02d" fields.
    bool digits(int& out, int count);
    // A decimal number with an optional sign, point and exponent.
    bool decimal(double& out);
    // Exactly this character next.
    bool literal(char c);

    std::string_view rest() const { return text_.substr(position_); }

private:
    void skipBlanks();

    std::string_view text_;
    std::size_t position_ = 0;
};

// The number a text begins with, as "%d" would read it; nothing when there is none.
std::optional<int> leadingInteger(std::string_view text);
std::optional<double> leadingDecimal(std::string_view text);

// The whole text (blanks around it allowed) as one number, for what a user typed.
std::optional<int> wholeInteger(std::string_view text);
std::optional<double> wholeDecimal(std::string_view text);

// "%.*f" and "%+0<width>.<decimals>f" without the locale's decimal point.
std::string fixedDecimal(double value, int decimals);
std::string signedZeroPadded(double value, int width, int decimals);

}  // namespace fenta21
