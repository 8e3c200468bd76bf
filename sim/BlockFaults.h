#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace fenta21::sim {

// Named faults of the logger's block sender, each switched on in one line. Blocks are counted
// from 1 in the order they are sent. Each map takes a block number to how many of that block's
// sendings, from its first, carry the fault; later sendings are clean. So `badCrc[3] = 1` spoils
// only the first sending of block 3, and `badCrc = {{1, 4}, {2, 4}}` gives four CRC errors, one
// good block and four more CRC errors.
struct BlockFaults {
    // The CRC bytes do not match the payload.
    std::map<int, int> badCrc;
    // The byte after the record number is not its complement.
    std::map<int, int> badComplement;
    // The first byte is `wrongStartByte` instead of STX; the rest of the frame follows unless
    // `wrongStartAlone`, in which case that single byte is all the sending puts on the line.
    std::map<int, int> wrongStart;
    std::uint8_t wrongStartByte = 0x55;
    bool wrongStartAlone = false;
    // A 128-byte block (SOH, record number, complement, the first 128 payload bytes, CRC) goes
    // out instead of the 1024-byte block.
    std::map<int, int> shortBlock;
    // The logger does not hear this many ACKs of the block and sends the block again each time,
    // so the receiver sees the same record number twice.
    std::map<int, int> lostAck;
    // After the first sending of this block the logger sends nothing more, whatever it hears,
    // until CAN or a command line. 0 stalls right after the start byte, before any block.
    std::optional<int> stallAfter;
    // After this block the logger ends the transfer with EOT although blocks remain, and
    // sends the EOT again whenever it is NAKed, as a sender does that really has finished.
    // 0 sends EOT in place of block 1.
    std::optional<int> earlyEotAfter;
};

}  // namespace fenta21::sim
