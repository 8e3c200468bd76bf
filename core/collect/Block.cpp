#include "core/collect/Block.h"

#include "core/base/Results.h"
#include "core/collect/Crc16.h"
#include "core/serial/Channel.h"

namespace fenta21 {

int readBlock(TTYInfo* channel, BlockBuffer& block) {
    if (readBytes(channel, block.data(), 1) == 0) return kLineTimeout;
    if (block[0] == kEOT) return kBlockEOT;
    if (block[0] != kSTX) return kBlockBadStart;
    if (readEachWithin(channel, block.data() + 1, kBlockSize - 1) != kBlockSize - 1) return kLineTimeout;
    return kBlockComplete;
}

std::uint16_t blockCrc(const BlockBuffer& block) { return crc16Xmodem(block.data() + 3, kBlockPayload); }

std::uint16_t receivedCrc(const BlockBuffer& block) {
    return static_cast<std::uint16_t>(block[kBlockSize - 2] << 8 | block[kBlockSize - 1]);
}

BlockCheck checkBlock(const BlockBuffer& block) {
    if (static_cast<std::uint8_t>(~block[1]) != block[2]) return BlockCheck::BadComplement;
    if (blockCrc(block) != receivedCrc(block)) return BlockCheck::BadCrc;
    return BlockCheck::Good;
}

}  // namespace fenta21
