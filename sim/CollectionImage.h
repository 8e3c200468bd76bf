#pragma once

#include <cstdint>
#include <string>

namespace fenta21::sim {

// What the logger's memory image says about its records, and the part of it one collection
// sends. The header's two offsets are little-endian 32-bit words: the end of the records at
// byte 2 and the first record at byte 6.
inline constexpr std::uint32_t kImageHeaderSize = 640;
inline constexpr std::size_t kEndOffsetField = 2;
inline constexpr std::size_t kStartOffsetField = 6;

std::uint32_t imageEndOffset(const std::string& image);
std::uint32_t imageStartOffset(const std::string& image);

// The byte count the logger announces for records from `firstRecord` to the end: the header
// plus the records, never less than the header alone.
std::uint32_t collectionCount(const std::string& image, std::uint32_t firstRecord);

// The image a collection sends: its start field names `firstRecord`, so the reader sees only
// the records from there on, and it ends with the block that holds the last record byte (one
// block at least, the header's).
std::string collectionImage(const std::string& image, std::uint32_t firstRecord);

// Pads an image to whole 1024-byte blocks with 0xFF, as erased memory reads.
std::string wholeBlocks(std::string image);

}  // namespace fenta21::sim
