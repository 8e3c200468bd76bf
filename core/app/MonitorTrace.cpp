#include "core/app/MonitorTrace.h"

#include "core/base/Cp932.h"

#include <algorithm>
#include <fstream>
#include <new>

namespace fenta21 {
namespace {

// The prefixes in the order of the line buffers: received characters, received hex, sent
// characters, sent hex. Each is 8 bytes in CP932; the block's first column pair overwrites
// its last two, so a block reads as a 6-column prefix and 34 pairs.
const std::array<const char*, 4> kPrefixes = {"受信：  ", "________", "送信：  ", "........"};
// Written into a column pair that belongs to the other direction (or to a pause).
const std::array<const char*, 4> kFillers = {"  ", "__", "  ", ".."};
constexpr std::size_t kPrefixColumns = 6;
constexpr std::size_t kLastColumn = 72;
constexpr std::size_t kLogPiece = 1024;
constexpr char kHexDigits[] = "0123456789ABCDEF";
// What the character line shows for a byte that has no single printable character.
constexpr char kUnprintable = 0x7F;

const std::array<std::string, 4>& prefixBytes() {
    static const std::array<std::string, 4> bytes = {utf8ToCp932(kPrefixes[0]), utf8ToCp932(kPrefixes[1]),
                                                      utf8ToCp932(kPrefixes[2]), utf8ToCp932(kPrefixes[3])};
    return bytes;
}

}  // namespace

bool MonitorTrace::update(CaptureQueue& queue, LineState lineState, std::size_t listLines, MonitorListEdit& edit) {
    if (queue.size() == 0) {
        // Idle and quiet: nothing to show. During a communication a long silence is itself
        // worth seeing, so it becomes a blank column pair.
        if (lineState == LineState::Idle) return false;
        std::int16_t quiet = quietTicks_;
        quietTicks_ = static_cast<std::int16_t>(quiet + 1);
        if (quiet < kQuietTicksBeforeGap) return false;
        queue.addGap();
    }
    format(queue.drain(), listLines, edit);
    quietTicks_ = 0;
    return true;
}

void MonitorTrace::format(const std::vector<CaptureEntry>& entries, std::size_t listLines, MonitorListEdit& edit) {
    edit = MonitorListEdit{};
    std::size_t count = listLines;
    if (column_ != 0 && count >= 4) {
        edit.replaceLastBlock = true;
        count -= 4;
    }
    for (CaptureEntry entry : entries) {
        putEntry(entry);
        if (column_ <= kLastColumn) continue;
        auto shown = shownLines();
        edit.appended.insert(edit.appended.end(), shown.begin(), shown.end());
        for (Line line : {SentChars, SentHex, ReceivedChars, ReceivedHex}) appendToLog(lines_[line] + "\r\n");
        column_ = 0;
        count += 4;
    }
    if (column_ != 0) {
        auto shown = shownLines();
        edit.appended.insert(edit.appended.end(), shown.begin(), shown.end());
        count += 4;
    }
    // Whole blocks go from the start, as many as it takes: a burst can complete several
    // blocks in one update, and the list never holds more than its limit.
    while (count > kMaxListLines) {
        edit.droppedFromStart += 4;
        count -= 4;
    }
}

void MonitorTrace::startBlock() {
    lines_ = prefixBytes();
    column_ = kPrefixColumns;
}

void MonitorTrace::putEntry(CaptureEntry entry) {
    if (column_ == 0) startBlock();
    else {
        for (std::size_t line = 0; line < lines_.size(); ++line) {
            lines_[line].resize(column_);
            lines_[line] += kFillers[line];
        }
    }
    if (entry.direction != CaptureDirection::Gap) {
        bool sent = entry.direction == CaptureDirection::Sent;
        std::string& chars = lines_[sent ? SentChars : ReceivedChars];
        std::string& hex = lines_[sent ? SentHex : ReceivedHex];
        chars[column_] = entry.byte >= 0x20 && entry.byte <= 0x7F ? static_cast<char>(entry.byte) : kUnprintable;
        hex[column_] = kHexDigits[entry.byte >> 4];
        hex[column_ + 1] = kHexDigits[entry.byte & 0x0F];
    }
    column_ += 2;
}

std::array<std::string, 4> MonitorTrace::shownLines() const {
    // Past the prefix every byte is ASCII (0x20-0x7F), so only the prefix needs converting.
    std::array<std::string, 4> shown;
    std::size_t index = 0;
    for (Line line : {SentChars, SentHex, ReceivedChars, ReceivedHex})
        shown[index++] = cp932ToUtf8(lines_[line].substr(0, kPrefixColumns)) + lines_[line].substr(kPrefixColumns);
    return shown;
}

void MonitorTrace::appendToLog(const std::string& bytes) {
    try {
        log_ += bytes;
    } catch (const std::bad_alloc&) {
        // Out of memory: the log starts again rather than the monitor stopping.
        log_.clear();
    }
}

std::string MonitorTrace::closeLog() {
    if (column_ != 0)
        for (Line line : {SentChars, SentHex, ReceivedChars, ReceivedHex}) appendToLog(lines_[line] + "\r\n");
    return log_;
}

bool writeComLog(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    for (std::size_t at = 0; at < bytes.size(); at += kLogPiece)
        file.write(bytes.data() + at, static_cast<std::streamsize>(std::min(kLogPiece, bytes.size() - at)));
    file.flush();
    return static_cast<bool>(file);
}

}  // namespace fenta21
