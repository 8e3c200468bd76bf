#include "sim/BlockFrame.h"

namespace fenta21::sim {

std::uint16_t crc16Xmodem(std::string_view bytes) {
    std::uint16_t crc = 0;
    for (char c : bytes) {
        crc ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(c) << 8);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021) : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

std::string blockFrame(std::uint8_t startByte, std::uint8_t record, std::string_view payload) {
    const std::size_t size = startByte == kSoh ? kShortBlockPayload : kBlockPayload;
    std::string body(payload.substr(0, size));
    // XMODEM pads a short last block with SUB; the logger's images are whole blocks, so only a
    // test's short payload ever gets padded.
    body.resize(size, '\x1A');
    const std::uint16_t crc = crc16Xmodem(body);
    std::string frame;
    frame.reserve(size + 5);
    frame.push_back(static_cast<char>(startByte));
    frame.push_back(static_cast<char>(record));
    frame.push_back(static_cast<char>(static_cast<std::uint8_t>(~record)));
    frame += body;
    frame.push_back(static_cast<char>(crc >> 8));
    frame.push_back(static_cast<char>(crc & 0xFF));
    return frame;
}

}  // namespace fenta21::sim
