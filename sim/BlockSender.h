#pragma once

#include "sim/BlockFaults.h"

#include <cstdint>
#include <map>
#include <string>

namespace fenta21::sim {

// The logger's side of one block transfer: it cuts an image into 1024-byte blocks and answers
// each handshake byte with the bytes that go back on the line. It sees only ACK, NAK, CAN and
// the start byte; deciding what other bytes mean is the logger's business.
class BlockSender {
public:
    enum class State { Sending, Stalled, Completed, Abandoned };

    // `image` is sent as whole blocks; a partial last block is padded with 0xFF.
    BlockSender(std::string image, BlockFaults faults);

    // The answer to the receiver's start byte: the first block.
    std::string begin();
    // The answer to one handshake byte.
    std::string onByte(std::uint8_t byte);
    // Ends the transfer from outside, as when the line carries a command instead of a handshake.
    void abandon();

    State state() const { return state_; }
    bool ended() const { return state_ == State::Completed || state_ == State::Abandoned; }
    int blockCount() const { return blockCount_; }

private:
    std::string sendCurrent();
    std::string frameFor(int block, int sending) const;
    static bool hits(const std::map<int, int>& fault, int block, int sending);

    std::string image_;
    BlockFaults faults_;
    int blockCount_ = 0;
    int lastSent_ = 0;  // the block after which the EOT goes out: the last one, unless a fault ends early
    int current_ = 1;   // lastSent_ + 1 once the EOT is due
    std::map<int, int> sendings_;
    std::map<int, int> acksIgnored_;
    State state_ = State::Sending;
    bool begun_ = false;
};

}  // namespace fenta21::sim
