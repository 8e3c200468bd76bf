#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// Panel texts are UTF-8 in memory but the logger's display counts columns in code page 932
// bytes (a half-width katakana takes one column, a kanji two), so every width here is
// measured that way and a double-byte character is never cut in half.

std::size_t displayWidth(std::string_view utf8);

// One character of a display line in its place on the display's grid: a double-byte
// character takes two columns, ASCII and half-width katakana one.
struct DisplayCell {
    std::string text;  // UTF-8
    std::size_t column = 0;
    std::size_t width = 1;
};
std::vector<DisplayCell> displayCells(std::string_view utf8);

// At most `width` columns, keeping the start.
std::string cutToWidth(std::string_view utf8, std::size_t width);

// At most `width` columns, keeping the end: a right-aligned line that is wider than the
// display keeps its value and loses leading columns.
std::string keepEnd(std::string_view utf8, std::size_t width);

// Cut to the width, or padded with leading blanks.
std::string rightAligned(std::string_view utf8, std::size_t width = 16);
// Cut to the width, or padded with trailing blanks.
std::string leftAligned(std::string_view utf8, std::size_t width = 16);

// A reply "from its n-th character on" (position counted from 0); empty when the reply is
// shorter, so a short reply never yields bytes from beyond its end.
std::string_view tailFrom(std::string_view reply, std::size_t position);

// A logger reply (code page 932) as a panel text.
std::string loggerText(std::string_view cp932);

// Leading and trailing blanks removed.
std::string_view trimmed(std::string_view text);

}  // namespace fenta21
