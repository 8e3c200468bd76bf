#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fenta21::sim {

// The bytes of one block as the logger puts it on the line: start byte, record number, its
// complement, the payload and the payload's CRC, high byte first.
inline constexpr std::uint8_t kStx = 0x02;  // starts a 1024-byte block
inline constexpr std::uint8_t kSoh = 0x01;  // starts a 128-byte block, which the logger never means to send
inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kCan = 0x18;
inline constexpr std::uint8_t kStart = 'C';
inline constexpr std::size_t kBlockPayload = 1024;
inline constexpr std::size_t kShortBlockPayload = 128;

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, most significant bit first, no final XOR.
std::uint16_t crc16Xmodem(std::string_view bytes);

// A block frame around `payload` (1024 bytes after an STX, 128 after an SOH; a shorter payload
// is padded with 0x1A, a longer one cut). Record numbers wrap at 8 bits.
std::string blockFrame(std::uint8_t startByte, std::uint8_t record, std::string_view payload);

}  // namespace fenta21::sim
