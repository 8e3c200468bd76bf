#pragma once

#include <cstddef>
#include <cstdint>

namespace fenta21 {

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, most significant bit first, no final XOR.
std::uint16_t crc16Xmodem(const std::uint8_t* data, std::size_t length);

}  // namespace fenta21
