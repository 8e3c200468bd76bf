#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// A data file is the logger's memory image as collected, 1024-byte blocks from offset 0.
// The program gives meaning to only a few header fields; the header reference file (.hed)
// describes the rest for display.
inline constexpr std::size_t kHeaderModelCodeOffset = 382;
inline constexpr std::size_t kHeaderModelCodeBytes = 16;
inline constexpr std::size_t kHeaderMemoOffset = 486;
inline constexpr std::size_t kHeaderMemoLines = 6;
inline constexpr std::size_t kHeaderMemoBytes = 16;

// Where the records are: from startOffset up to endOffset (just past the last record).
// Both come from the file and are not checked here.
struct RecordArea {
    std::uint32_t endOffset = 0;
    std::uint32_t startOffset = 0;
};

// The leading fields (an ignored word, endOffset, startOffset), or nothing for a file too
// short to hold them.
std::optional<RecordArea> readRecordArea(std::string_view image);

// The model code at offset 382 as stored (code page 932 bytes, cut at the first NUL), or
// nothing for a file too short to hold it.
std::optional<std::string> readModelCode(std::string_view image);

// The six memo texts at offset 486 as stored, each cut at its first NUL.
std::optional<std::array<std::string, kHeaderMemoLines>> readMemoLines(std::string_view image);

// A fixed text field: its bytes up to the first NUL.
std::string_view fieldText(std::string_view field);

}  // namespace fenta21
