#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The installation tables (type.dat, the kind tables) are small comma-separated text files
// written on the program's home platform, so lines may end in CR LF and fields carry code
// page 932 bytes. These helpers read them without ever trusting a length or a number.

// Every line, without its end; a last line without a line end counts, an empty file has none.
// A line is never split, however long it is.
std::vector<std::string_view> splitTableLines(std::string_view text);

// The comma-separated fields of a line; a line without a comma is one field.
std::vector<std::string_view> splitTableFields(std::string_view line);

// A decimal integer with an optional sign and spaces around it, or nothing when the field
// holds anything else (an empty field, letters, "8x", a number beyond int).
std::optional<int> parseTableInteger(std::string_view field);

// The field cut to at most maxBytes code page 932 bytes without splitting a character, and
// whether it had to be cut.
struct FittedField {
    std::string bytes;
    bool cut = false;
};
FittedField fitTableField(std::string_view field, std::size_t maxBytes);

// "type.dat 3行目: text": a problem of one line, for the user who keeps the file.
std::string tableProblem(std::string_view fileName, std::size_t lineIndex, std::string_view text);

}  // namespace fenta21
