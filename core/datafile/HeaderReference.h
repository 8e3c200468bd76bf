#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// A header reference file ("<model code>.hed" in the home folder) describes a model's header
// area for display: one line per item, in file order, each item taking the next bytes of the
// data file from offset 0. The line's first character is the item's type; the whole line is
// its label.
struct HeaderItem {
    char type = '\0';
    std::string label;  // UTF-8
};

// The file used when a model has no reference file of its own.
inline constexpr const char* kFallbackHeaderReference = "XBR-PLQ-01.hed";

std::vector<HeaderItem> parseHeaderReference(std::string_view cp932Text);

struct HeaderReference {
    std::vector<HeaderItem> items;
    bool found = false;         // false: neither the model's own file nor the fallback exists
    bool ownFileMissing = false;  // the model's own file was missing (the user is told)
};

HeaderReference loadHeaderReference(const std::string& homeFolder, std::string_view modelCode);

// Bytes an item of this type takes: 'C' 1, 'I' 2, 'L' 4, 'F' 4, 'M' 16, 'T' 6; a label line 0.
std::size_t headerItemBytes(char type);

// The value of an item from its bytes (exactly headerItemBytes long): 'C', 'I', 'L' signed
// little-endian integers, 'F' a single-precision float with six decimals, 'M' a 16-byte text
// up to its first NUL, 'T' six signed bytes "yy/mm/dd hh:mm:ss"; a label line repeats its label.
std::string headerItemValue(const HeaderItem& item, std::string_view bytes);

}  // namespace fenta21
