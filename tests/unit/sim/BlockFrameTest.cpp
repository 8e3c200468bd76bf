// Block frames and their CRC, byte for byte.
#include "sim/BlockFrame.h"

#include <gtest/gtest.h>

namespace fenta21::sim {
namespace {

TEST(BlockCrc, KnownVectors) {
    struct Row {
        std::string data;
        std::uint16_t crc;
    } rows[] = {
        {"123456789", 0x31C3},  // the published check value of CRC-16/XMODEM
        {"", 0x0000},
        {std::string(1, '\0'), 0x0000},
        {"A", 0x58E5},
    };
    for (const Row& row : rows) EXPECT_EQ(crc16Xmodem(row.data), row.crc) << row.data.size() << " bytes";
}

TEST(BlockFrameLayout, StartRecordComplementPayloadAndCrcHighByteFirst) {
    std::string payload(1024, '\0');
    payload.replace(0, 9, "123456789");
    const std::uint16_t crc = crc16Xmodem(payload);
    const std::string frame = blockFrame(kStx, 0x01, payload);
    ASSERT_EQ(frame.size(), 1029u);
    EXPECT_EQ(frame[0], '\x02');
    EXPECT_EQ(frame[1], '\x01');
    EXPECT_EQ(frame[2], '\xFE');
    EXPECT_EQ(frame.substr(3, 1024), payload);
    EXPECT_EQ(static_cast<std::uint8_t>(frame[1027]), crc >> 8);
    EXPECT_EQ(static_cast<std::uint8_t>(frame[1028]), crc & 0xFF);
}

}  // namespace
}  // namespace fenta21::sim
