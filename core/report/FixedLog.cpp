#include "core/report/FixedLog.h"

#include "core/base/Cp932.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fenta21 {
namespace {

// The log lines of one message: the entry's message part and the continuation parts.
std::vector<std::string> splitMessage(std::string_view message, const FixedLogLayout& layout) {
    // A lone first byte of a double-byte character at the very end can never be shown.
    message = message.substr(0, cp932PrefixLength(message, message.size()));
    std::vector<std::string> parts;
    std::size_t width = layout.messageWidth;
    do {
        std::size_t take = cp932PrefixLength(message, width);
        parts.push_back(cp932FixedField(message.substr(0, take), width));
        message.remove_prefix(take);
        width = layout.continuationWidth;
    } while (!message.empty() && width > 0 && static_cast<int>(parts.size()) <= layout.maxContinuations);
    return parts;
}

// Far beyond any ring: a count line claiming more is damaged.
constexpr long kLineNumberMax = 10'000'000;

long fileSize(std::FILE* file) {
    std::fseek(file, 0, SEEK_END);
    return std::ftell(file);
}

// The next free line number from the count line, or from the file's length when the count
// line cannot be read (a damaged file gets its next entry after the last whole line, never
// on top of older entries).
int nextLineNumber(std::FILE* file, const FixedLogLayout& layout) {
    // The number runs to the line end, whatever its width: a log carried over from the
    // Windows version of the program has a 23-byte count line from 10000 on. Only the count
    // line itself is parsed, so a damaged one (no line end close behind it) never borrows
    // numbers from the entry behind it.
    constexpr std::size_t kCountLineMax = 32;
    char countLine[kCountLineMax + 1] = {};
    std::size_t read = 0;
    if (std::fseek(file, kCountLineOffset, SEEK_SET) == 0) read = std::fread(countLine, 1, kCountLineMax, file);
    std::size_t end = std::strcspn(countLine, "\r\n");
    if (end < read) {
        countLine[end] = '\0';
        char date[kCountLineMax + 1] = {}, clock[kCountLineMax + 1] = {}, number[kCountLineMax + 1] = {};
        char tail = 0;
        if (std::sscanf(countLine, "%32s %32s %32s %c", date, clock, number, &tail) == 3) {
            char* numberEnd = nullptr;
            long next = std::strtol(number, &numberEnd, 10);
            if (*numberEnd == '\0' && next >= kFirstEntryLine && next <= kLineNumberMax) return static_cast<int>(next);
        }
    }
    long size = fileSize(file);
    if (size <= static_cast<long>(kFirstEntryOffset)) return kFirstEntryLine;
    return kFirstEntryLine + static_cast<int>((size - kFirstEntryOffset) / layout.lineBytes);
}

// Writes straight to the file, so that a failure is known at once and nothing is left in a
// buffer to be written later.
bool writeAt(int fd, long offset, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + written, bytes.size() - written, offset + static_cast<long>(written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The header, and the count line's place behind it, at the start of the file.
std::string headerBytes(const FixedLogLayout& layout) {
    // The count line always starts at byte 22, whatever the header's length.
    std::string start = layout.header;
    start.resize(kCountLineOffset, '\0');
    return start;
}

long lineOffset(int lineNumber, const FixedLogLayout& layout) {
    return static_cast<long>(kFirstEntryOffset + (lineNumber - kFirstEntryLine) * layout.lineBytes);
}

}  // namespace

std::string formatCountLine(const CalendarTime& t, int nextLine) {
    char text[64];
    if (nextLine < 10000)
        std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d%02d %04d\r\n", t.year, t.month, t.day, t.hour,
                      t.minute, t.second, nextLine);
    else
        std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d %05d \r\n", t.year, t.month, t.day, t.hour,
                      t.minute, nextLine);
    return text;
}

int appendFixedLog(const std::string& path, const FixedLogLayout& layout, const CalendarTime& time,
                   std::string_view message) {
    // Created when missing, never emptied: another copy of the program may be writing it.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    std::FILE* file = ::fdopen(fd, "r+b");
    if (file == nullptr) {
        int error = errno;
        ::close(fd);
        return error;
    }
    // Another copy of the program may write the same log.
    flock(fileno(file), LOCK_EX);
    const long oldSize = fileSize(file);
    // A file too short to hold its header (new, or left empty) gets the header first.
    const bool headerMissing = oldSize < static_cast<long>(kCountLineOffset);
    int next = headerMissing ? kFirstEntryLine : nextLineNumber(file, layout);
    if (next - kFirstEntryLine >= layout.ringLines) next = kFirstEntryLine;

    auto parts = splitMessage(message, layout);
    std::string countLine = formatCountLine(time, next + static_cast<int>(parts.size()));
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d ", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    std::string lines = stamp + parts[0] + "\r\n";
    for (std::size_t i = 1; i < parts.size(); ++i) lines += parts[i] + "\r\n";

    // The lines first, and the count only once they are all there: a disk that fills up
    // part-way must leave neither half a line nor a count that points past lines never
    // written (the next entry would follow a gap of zero bytes). A failed entry is cut off
    // again, so the file is as it was.
    bool written = (!headerMissing || writeAt(fd, 0, headerBytes(layout))) &&
                   writeAt(fd, lineOffset(next, layout), lines) && writeAt(fd, kCountLineOffset, countLine);
    int error = written ? 0 : errno;
    if (!written) {
        [[maybe_unused]] int cut = ::ftruncate(fd, oldSize);  // if even this fails, the count is still right
    }
    if (std::fclose(file) != 0 && error == 0) error = errno;
    return error;
}

}  // namespace fenta21
