#pragma once

#include "core/protocol/LineWords.h"
#include "core/serial/CaptureQueue.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fenta21 {

// How one monitor update changes the list the window shows. The window applies it in this
// order: drop the last block, append the lines, drop lines from the start.
struct MonitorListEdit {
    // The last four lines showed a block that was still filling; they are shown again, longer.
    bool replaceLastBlock = false;
    // UTF-8, in groups of four: sent characters, sent hex, received characters, received hex.
    std::vector<std::string> appended;
    // The oldest blocks that no longer fit (a multiple of four).
    std::size_t droppedFromStart = 0;
};

// The communication monitor's formatting: every captured byte becomes one column pair of a
// four-line block, sent and received bytes on one time axis. Completed blocks are also kept
// in a memory log that becomes com.log when the monitor closes.
class MonitorTrace {
public:
    static constexpr std::size_t kMaxListLines = 4000;
    static constexpr std::size_t kBlockWidth = 74;  // 6 prefix columns and 34 column pairs
    // Quiet ticks during a communication before a blank column pair marks the pause.
    static constexpr int kQuietTicksBeforeGap = 100;

    // One heartbeat's update: drains the queue into blocks. `listLines` is how many lines the
    // window's list holds now. Returns false when the list stays as it is.
    bool update(CaptureQueue& queue, LineState lineState, std::size_t listLines, MonitorListEdit& edit);

    // Formats entries without the queue or the quiet-tick rule (the update's inner loop).
    void format(const std::vector<CaptureEntry>& entries, std::size_t listLines, MonitorListEdit& edit);

    // Each opening of the monitor starts the memory log afresh (its memory is kept for reuse).
    void rewindLog() { log_.clear(); }
    // At closing: the block still filling joins the memory log as far as it goes, and the
    // bytes of com.log are what the log holds since the opening.
    std::string closeLog();

    bool blockInProgress() const { return column_ != 0; }
    std::size_t logSize() const { return log_.size(); }

private:
    enum Line { ReceivedChars, ReceivedHex, SentChars, SentHex };

    void startBlock();
    void putEntry(CaptureEntry entry);
    // The four lines as the list shows them and as com.log stores them.
    std::array<std::string, 4> shownLines() const;
    void appendToLog(const std::string& bytes);

    // CP932 bytes, as the program has always written com.log.
    std::array<std::string, 4> lines_;
    std::size_t column_ = 0;
    std::int16_t quietTicks_ = 0;
    std::string log_;
};

// Writes com.log (created or truncated). Returns false when the file could not be written;
// the monitor says nothing about it.
bool writeComLog(const std::string& path, const std::string& bytes);

}  // namespace fenta21
