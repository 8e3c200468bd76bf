#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The dial number buffer holds 31 bytes and a NUL.
inline constexpr std::size_t kDialNumberBytes = 31;
// Unit numbers after the tenth are ignored.
inline constexpr std::size_t kMaxUnits = 10;

// What a station's telephone field asks for: the number to dial and the loggers (units 1-9)
// that share the remote line. An empty unit list means one logger and no unit selection.
struct DialTarget {
    std::string dialNumber;  // code page 932 bytes, as they go to the modem
    std::vector<int> units;

    bool operator==(const DialTarget&) const = default;
};

// Splits a telephone field (UTF-8, as the address book holds it): the dial number is the
// text before the first "_", cut to 31 bytes on a character boundary; every "_"-separated
// part after it gives its leading decimal integer (none gives 0), and values 1-9 become
// units, at most ten. So "0123_1_2_3" gives units 1, 2, 3 and "0123_12_3" unit 3 only.
DialTarget parseTelephoneField(std::string_view telephone);

}  // namespace fenta21
