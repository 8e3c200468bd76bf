#pragma once

#include "core/serial/PortDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::fuzz {

// A logger on a scripted line that answers in turn: when the program, having written, waits
// for an answer on an empty line, the script's next reply arrives, the way a logger answers a
// command, a start byte or an ACK. Reads without a write before them get nothing more. The
// fuzz input is the script, a sequence of replies:
//
//   00-7F hi, lo, bytes  a raw reply of (hi << 8 | lo) bytes
//   80-FE n, hi, lo, p   a good 1024-byte block numbered n around the payload p of
//                        (hi << 8 | lo) bytes, at most 1024, padded with 0x1A; its CRC is
//                        right, so mutations of the payload still reach the receiver's
//                        acceptance rather than dying at the check
//   FF                   nothing on the line, but the user presses cancel at this point
//
// A reply cut short by the end of the input is what remains of it.
struct Reply {
    std::string bytes;
    bool pressCancel = false;
};

std::vector<Reply> parseLineScript(const std::uint8_t* data, std::size_t size);

// The other way round, for the corpus maker.
std::string rawReply(std::string_view bytes);
std::string blockReply(std::uint8_t record, std::string_view payload);
std::string cancelReply();
// A raw reply, or a block reply when the bytes are exactly a good 1024-byte block.
std::string replyFor(std::string_view bytes);

// The line itself: what the script still holds, what is waiting to be read, and what the
// program wrote. Writes are kept by turn: all the program wrote between two reads (a command
// goes out byte by byte), with what it had read since the turn before.
struct LineState {
    struct Write {
        std::string bytes;
        std::string readBefore;
        bool cancelStanding = false;  // the cancel flag said cancelled when the turn began
    };

    std::vector<Reply> replies;
    std::size_t nextReply = 0;
    std::deque<std::uint8_t> input;
    std::string readSinceWrite;
    bool readSinceLastWrite = true;
    bool answerDue = false;  // written since the last reply came
    std::vector<Write> writes;
    // When set, a logger answers instead of the script, and each reply it gives in a turn is
    // added to `replies` as it is released: the line records a script that replays the same
    // exchange (the corpus maker puts the simulated logger here).
    std::function<std::string(std::string_view written)> answerer;
    std::string answered;
    // The cancel flag that a scripted press sets, and the turn it answered (-1: none).
    std::atomic<int>* cancelFlag = nullptr;
    long cancelAfterWrite = -1;
};

// With FENTA21_FUZZ_TRACE set, prints the exchange to stderr (what was read before each write,
// then the write), to see what a saved input makes the program do.
void traceLine(const LineState& line);

// The device over a line state. An empty line fails a read at once, as a time-out would end
// it, so that nothing ever waits.
class ScriptedLine : public PortDevice {
public:
    explicit ScriptedLine(std::shared_ptr<LineState> state) : state_(std::move(state)) {}

    bool configure(const LineSettings&) override { return true; }
    long readSome(std::uint8_t* buffer, std::size_t maxBytes, std::chrono::nanoseconds timeout) override;
    long writeSome(const std::uint8_t* data, std::size_t count, std::chrono::nanoseconds timeout) override;
    int inputCount() override { return static_cast<int>(state_->input.size()); }
    void purge() override { state_->input.clear(); }
    void raiseDtr() override {}
    void close() override {}
    int lastError() const override { return error_; }

private:
    std::shared_ptr<LineState> state_;
    int error_ = 0;
};

}  // namespace fenta21::fuzz
