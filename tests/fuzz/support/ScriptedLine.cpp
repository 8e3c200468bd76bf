#include "tests/fuzz/support/ScriptedLine.h"

#include "core/collect/Block.h"
#include "core/base/Results.h"
#include "core/collect/Crc16.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace fenta21::fuzz {
namespace {

constexpr std::uint8_t kCancelTag = 0xFF;
constexpr std::uint8_t kBlockTag = 0x80;
constexpr char kPadding = 0x1A;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return done() ? 0 : data_[at_++]; }
    std::size_t length() { return std::size_t{byte()} << 8 | byte(); }
    std::string bytes(std::size_t count) {
        count = std::min(count, size_ - at_);
        std::string out(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::string lengthBytes(std::size_t length) {
    return {static_cast<char>(length >> 8 & 0xFF), static_cast<char>(length & 0xFF)};
}

std::string framedBlock(std::uint8_t record, std::string payload) {
    payload.resize(kBlockPayload, kPadding);
    std::uint16_t crc = crc16Xmodem(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size());
    return std::string{static_cast<char>(kSTX), static_cast<char>(record), static_cast<char>(~record & 0xFF)} +
           payload + std::string{static_cast<char>(crc >> 8), static_cast<char>(crc & 0xFF)};
}

}  // namespace

std::vector<Reply> parseLineScript(const std::uint8_t* data, std::size_t size) {
    std::vector<Reply> replies;
    Reader in(data, size);
    while (!in.done()) {
        std::uint8_t tag = in.byte();
        if (tag == kCancelTag) {
            replies.push_back({{}, true});
        } else if (tag & kBlockTag) {
            std::uint8_t record = in.byte();
            replies.push_back({framedBlock(record, in.bytes(std::min(in.length(), kBlockPayload))), false});
        } else {
            replies.push_back({in.bytes(std::size_t{tag} << 8 | in.byte()), false});
        }
    }
    return replies;
}

std::string rawReply(std::string_view bytes) { return lengthBytes(bytes.size()) + std::string(bytes); }

std::string blockReply(std::uint8_t record, std::string_view payload) {
    return std::string{static_cast<char>(kBlockTag), static_cast<char>(record)} + lengthBytes(payload.size()) +
           std::string(payload);
}

std::string cancelReply() { return std::string(1, static_cast<char>(kCancelTag)); }

std::string replyFor(std::string_view bytes) {
    if (bytes.size() == kBlockSize && static_cast<std::uint8_t>(bytes[0]) == kSTX) {
        BlockBuffer block;
        std::copy(bytes.begin(), bytes.end(), block.begin());
        if (checkBlock(block) == BlockCheck::Good) {
            std::string_view payload = bytes.substr(3, kBlockPayload);
            // The padding is left to the script, which keeps the seed small.
            while (!payload.empty() && payload.back() == kPadding) payload.remove_suffix(1);
            return blockReply(block[1], payload);
        }
    }
    return rawReply(bytes);
}

namespace {

std::string printable(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes.substr(0, 48)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "<%02X>", c);
        out += hex;
    }
    if (bytes.size() > 48) out += "... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

}  // namespace

void traceLine(const LineState& line) {
    if (std::getenv("FENTA21_FUZZ_TRACE") == nullptr) return;
    for (const LineState::Write& write : line.writes) {
        if (!write.readBefore.empty()) std::fprintf(stderr, "  read  %s\n", printable(write.readBefore).c_str());
        std::fprintf(stderr, "  wrote %s\n", printable(write.bytes).c_str());
    }
    if (!line.readSinceWrite.empty()) std::fprintf(stderr, "  read  %s\n", printable(line.readSinceWrite).c_str());
    if (line.cancelAfterWrite >= 0) std::fprintf(stderr, "  cancel pressed after write %ld\n", line.cancelAfterWrite);
}

long ScriptedLine::readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds) {
    LineState& line = *state_;
    line.readSinceLastWrite = true;
    if (line.input.empty() && line.answerDue && line.answerer) line.replies.push_back({std::exchange(line.answered, {}), false});
    if (line.input.empty() && line.answerDue && line.nextReply < line.replies.size()) {
        line.answerDue = false;
        const Reply& reply = line.replies[line.nextReply++];
        line.input.insert(line.input.end(), reply.bytes.begin(), reply.bytes.end());
        if (reply.pressCancel && line.cancelFlag != nullptr) {
            line.cancelFlag->store(kCancelled);
            if (line.cancelAfterWrite < 0) line.cancelAfterWrite = static_cast<long>(line.writes.size()) - 1;
        }
    }
    if (line.input.empty()) {
        error_ = ETIMEDOUT;
        return -1;
    }
    std::size_t n = std::min(maxBytes, line.input.size());
    for (std::size_t i = 0; i < n; ++i) {
        buffer[i] = line.input.front();
        line.input.pop_front();
        line.readSinceWrite.push_back(static_cast<char>(buffer[i]));
    }
    return static_cast<long>(n);
}

long ScriptedLine::writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds) {
    LineState& line = *state_;
    std::string_view bytes(reinterpret_cast<const char*>(data), count);
    if (line.readSinceLastWrite || line.writes.empty()) {
        bool cancelStanding = line.cancelFlag != nullptr && line.cancelFlag->load() == kCancelled;
        line.writes.push_back({std::string(bytes), std::move(line.readSinceWrite), cancelStanding});
        line.readSinceWrite.clear();
    } else {
        line.writes.back().bytes += bytes;
    }
    line.readSinceLastWrite = false;
    line.answerDue = true;
    if (line.answerer) line.answered += line.answerer(bytes);
    return static_cast<long>(count);
}

}  // namespace fenta21::fuzz
