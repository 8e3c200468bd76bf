#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fenta21 {

// Little-endian integers in the binary settings and list files.
inline std::int32_t readInt32LE(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return static_cast<std::int32_t>(value);
}

inline std::int16_t readInt16LE(std::string_view bytes, std::size_t offset) {
    auto value = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                            (static_cast<unsigned char>(bytes[offset + 1]) << 8));
    return static_cast<std::int16_t>(value);
}

inline void appendInt32LE(std::string& out, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

inline void appendInt16LE(std::string& out, std::int16_t value) {
    auto bits = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<char>(bits & 0xFF));
    out.push_back(static_cast<char>(bits >> 8));
}

}  // namespace fenta21
