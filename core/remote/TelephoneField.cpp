#include "core/remote/TelephoneField.h"

#include "core/base/Cp932.h"

namespace fenta21 {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// The part's leading integer, read the way the field has always been read (blanks, then an
// optional sign, then digits). A value too large for any unit is kept out of range instead
// of overflowing, so it is dropped like every other number outside 1-9.
long leadingInteger(std::string_view part) {
    std::size_t at = 0;
    while (at < part.size() && isBlank(part[at])) ++at;
    bool negative = false;
    if (at < part.size() && (part[at] == '+' || part[at] == '-')) negative = part[at++] == '-';
    long value = 0;
    for (; at < part.size() && part[at] >= '0' && part[at] <= '9'; ++at)
        if (value < 1000) value = value * 10 + (part[at] - '0');
    return negative ? -value : value;
}

}  // namespace

DialTarget parseTelephoneField(std::string_view telephone) {
    std::string field = utf8ToCp932(telephone);
    std::string_view rest = field;
    DialTarget target;
    std::size_t cut = rest.find('_');
    std::string_view number = rest.substr(0, cut);
    target.dialNumber = std::string(number.substr(0, cp932PrefixLength(number, kDialNumberBytes)));
    if (cut == std::string_view::npos) return target;
    rest.remove_prefix(cut + 1);
    while (target.units.size() < kMaxUnits) {
        std::size_t next = rest.find('_');
        long unit = leadingInteger(rest.substr(0, next));
        if (unit >= 1 && unit <= 9) target.units.push_back(static_cast<int>(unit));
        if (next == std::string_view::npos) break;
        rest.remove_prefix(next + 1);
    }
    return target;
}

}  // namespace fenta21
