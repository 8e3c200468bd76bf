// The block check and the block reader on arbitrary bytes. The simulator's own framing and
// CRC are the second opinion: a block it frames is good, and the CRC the receiver computes is
// the one it computes. Reading the bytes off a line gives the result their first byte and
// their length call for.
#include "core/collect/Block.h"
#include "core/serial/Channel.h"
#include "sim/BlockFrame.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/LineSession.h"

#include <algorithm>

using namespace fenta21;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BlockBuffer block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    std::string_view payload(reinterpret_cast<const char*>(block.data() + 3), kBlockPayload);

    FUZZ_CHECK(blockCrc(block) == sim::crc16Xmodem(payload));
    FUZZ_CHECK(receivedCrc(block) == (block[kBlockSize - 2] << 8 | block[kBlockSize - 1]));
    const bool complementMatches = static_cast<std::uint8_t>(block[1] + block[2]) == 0xFF;
    const BlockCheck expected = !complementMatches                      ? BlockCheck::BadComplement
                                : blockCrc(block) != receivedCrc(block) ? BlockCheck::BadCrc
                                                                        : BlockCheck::Good;
    FUZZ_CHECK(checkBlock(block) == expected);

    std::string framed = sim::blockFrame(sim::kStx, block[1], payload);
    BlockBuffer simulated{};
    FUZZ_CHECK(framed.size() == simulated.size());
    std::copy(framed.begin(), framed.end(), simulated.begin());
    FUZZ_CHECK(checkBlock(simulated) == BlockCheck::Good && simulated[1] == block[1]);

    fuzz::LineSession run({fuzz::Reply{std::string(reinterpret_cast<const char*>(data), size), false}});
    TTYInfo* channel = run.session.channel();
    sendByte(channel, kNAK);  // the bytes come as the answer to it
    BlockBuffer read{};
    int result = readBlock(channel, read);
    if (size == 0) FUZZ_CHECK(result == kLineTimeout);
    else if (data[0] == kEOT) FUZZ_CHECK(result == kBlockEOT);
    else if (data[0] != kSTX) FUZZ_CHECK(result == kBlockBadStart);
    else if (size < kBlockSize) FUZZ_CHECK(result == kLineTimeout);
    else FUZZ_CHECK(result == kBlockComplete && read == block);
    return 0;
}
