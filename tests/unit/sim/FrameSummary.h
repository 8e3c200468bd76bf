#pragma once

#include "sim/BlockFrame.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace fenta21::sim::test {

// A short description of what one answer put on the line, so that a table can say what it
// expects: "STX 3 ok", "STX 3 crc" (wrong CRC), "STX 3 cpl" (wrong complement), "SOH 3 ok",
// "EOT", "55 frame" (a frame whose start byte is 0x55), "55 alone", "none", or "? N bytes".
inline std::string summarize(const std::string& bytes) {
    if (bytes.empty()) return "none";
    const auto start = static_cast<std::uint8_t>(bytes[0]);
    if (bytes.size() == 1) {
        if (start == kEot) return "EOT";
        char text[16];
        std::snprintf(text, sizeof text, "%02X alone", start);
        return text;
    }
    const std::size_t payload = start == kSoh ? kShortBlockPayload : kBlockPayload;
    if (bytes.size() != payload + 5) return "? " + std::to_string(bytes.size()) + " bytes";
    const auto record = static_cast<std::uint8_t>(bytes[1]);
    const auto complement = static_cast<std::uint8_t>(bytes[2]);
    const std::uint16_t crc = crc16Xmodem(std::string_view(bytes).substr(3, payload));
    const auto sentCrc = static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[payload + 3]) << 8 |
                                                    static_cast<std::uint8_t>(bytes[payload + 4]));
    std::string verdict = complement != static_cast<std::uint8_t>(~record) ? "cpl" : crc != sentCrc ? "crc" : "ok";
    if (start == kStx) return "STX " + std::to_string(record) + " " + verdict;
    if (start == kSoh) return "SOH " + std::to_string(record) + " " + verdict;
    char text[16];
    std::snprintf(text, sizeof text, "%02X frame", start);
    return text;
}

// The payload of a 1024-byte block frame.
inline std::string payloadOf(const std::string& frame) { return frame.size() == kBlockPayload + 5 ? frame.substr(3, kBlockPayload) : std::string(); }

}  // namespace fenta21::sim::test
