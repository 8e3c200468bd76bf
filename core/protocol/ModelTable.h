#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// One model the installation knows: a line "code,channels,name" of type.dat.
struct ModelEntry {
    std::string code;      // the bytes the logger reports (at most 19), compared exactly
    int channelCount = 0;  // the panel cycles "mode%d" over 0 ... count - 1
    std::string name;      // UTF-8; the title line of the model's CSV files
};

inline constexpr std::size_t kModelCodeBytes = 19;
inline constexpr std::size_t kModelNameBytes = 19;
inline constexpr std::size_t kModelTableLines = 128;

// The accepted models, in file order. The table ends at the first line with an empty code.
struct ModelTable {
    std::vector<ModelEntry> entries;
    // What was wrong with the file, one text per defect, for the user who keeps it.
    std::vector<std::string> problems;

    // The entry whose code equals `code` exactly (letter case and spaces count), or null.
    const ModelEntry* find(std::string_view code) const;
};

// Reads type.dat. A missing file gives an empty table, so every lookup fails. Defects never
// stop the reading: a code longer than 19 bytes cannot be told apart from a shorter one, so
// its line is left out; a missing or non-numeric channel count becomes 0; an over-long name
// is cut on a character boundary. Lines beyond the 128th are ignored. Each defect is listed.
ModelTable loadModelTable(const std::string& path);
ModelTable parseModelTable(std::string_view text, std::string_view fileName = "type.dat");

}  // namespace fenta21
