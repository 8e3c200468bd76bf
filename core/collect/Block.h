#pragma once

#include <array>
#include <cstdint>

namespace fenta21 {

struct TTYInfo;

inline constexpr std::uint8_t kSTX = 0x02;
inline constexpr std::uint8_t kSOH = 0x01;
inline constexpr std::uint8_t kEOT = 0x04;
inline constexpr std::uint8_t kACK = 0x06;
inline constexpr std::uint8_t kNAK = 0x15;
inline constexpr std::uint8_t kCAN = 0x18;
inline constexpr std::uint8_t kStartCRC = 'C';

inline constexpr std::size_t kBlockPayload = 1024;
inline constexpr std::size_t kBlockSize = 3 + kBlockPayload + 2;

// One block as it arrives: STX, record number, its complement, 1024 payload bytes and the
// CRC of the payload, high byte first.
using BlockBuffer = std::array<std::uint8_t, kBlockSize>;

// readBlock results besides the line readers' -2.
inline constexpr int kBlockComplete = 0;
inline constexpr int kBlockEOT = 50;
inline constexpr int kBlockBadStart = 51;

// Reads one block: EOT alone gives 50, a first byte other than STX gives 51, a byte that does
// not arrive in time gives -2, a whole block 0.
int readBlock(TTYInfo* channel, BlockBuffer& block);

enum class BlockCheck { Good, BadComplement, BadCrc };

// What a complete block's framing says, without any I/O.
BlockCheck checkBlock(const BlockBuffer& block);
std::uint16_t blockCrc(const BlockBuffer& block);      // as computed over the payload
std::uint16_t receivedCrc(const BlockBuffer& block);   // as the block carries it

}  // namespace fenta21
