#include "sim/BlockSender.h"

#include "sim/BlockFrame.h"

#include <algorithm>

namespace fenta21::sim {

BlockSender::BlockSender(std::string image, BlockFaults faults) : image_(std::move(image)), faults_(std::move(faults)) {
    if (image_.size() % kBlockPayload != 0) image_.resize((image_.size() / kBlockPayload + 1) * kBlockPayload, '\xFF');
    blockCount_ = static_cast<int>(image_.size() / kBlockPayload);
    lastSent_ = faults_.earlyEotAfter ? std::min(*faults_.earlyEotAfter, blockCount_) : blockCount_;
}

std::string BlockSender::begin() {
    // A receiver that sends its start byte again before the first block arrives gets nothing
    // extra: the first answer is already on its way.
    if (begun_ || ended()) return {};
    begun_ = true;
    if (faults_.stallAfter == 0) {
        state_ = State::Stalled;
        return {};
    }
    return sendCurrent();
}

std::string BlockSender::onByte(std::uint8_t byte) {
    if (state_ != State::Sending && state_ != State::Stalled) return {};
    if (byte == kCan) {
        state_ = State::Abandoned;
        return {};
    }
    if (byte == kStart) return begin();
    if (state_ == State::Stalled || !begun_) return {};
    if (byte == kNak) return sendCurrent();
    if (byte != kAck) return {};
    if (current_ > lastSent_) {  // the EOT was acknowledged
        state_ = State::Completed;
        return {};
    }
    int& ignored = acksIgnored_[current_];
    if (hits(faults_.lostAck, current_, ignored + 1)) {
        ++ignored;
        return sendCurrent();
    }
    ++current_;
    return sendCurrent();
}

void BlockSender::abandon() {
    if (!ended()) state_ = State::Abandoned;
}

std::string BlockSender::sendCurrent() {
    if (current_ > lastSent_) return std::string(1, static_cast<char>(kEot));
    const int sending = ++sendings_[current_];
    std::string frame = frameFor(current_, sending);
    if (sending == 1 && faults_.stallAfter == current_) state_ = State::Stalled;
    return frame;
}

std::string BlockSender::frameFor(int block, int sending) const {
    const auto record = static_cast<std::uint8_t>(block & 0xFF);
    std::string_view payload(image_.data() + static_cast<std::size_t>(block - 1) * kBlockPayload, kBlockPayload);
    if (hits(faults_.shortBlock, block, sending)) return blockFrame(kSoh, record, payload);
    if (hits(faults_.wrongStart, block, sending) && faults_.wrongStartAlone)
        return std::string(1, static_cast<char>(faults_.wrongStartByte));

    std::string frame = blockFrame(kStx, record, payload);
    if (hits(faults_.wrongStart, block, sending)) frame[0] = static_cast<char>(faults_.wrongStartByte);
    if (hits(faults_.badComplement, block, sending)) frame[2] = static_cast<char>(frame[2] ^ 0x01);
    if (hits(faults_.badCrc, block, sending)) frame.back() = static_cast<char>(frame.back() ^ 0x01);
    return frame;
}

bool BlockSender::hits(const std::map<int, int>& fault, int block, int sending) {
    auto found = fault.find(block);
    return found != fault.end() && sending <= found->second;
}

}  // namespace fenta21::sim
