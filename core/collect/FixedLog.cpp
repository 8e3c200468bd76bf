#include "core/collect/FixedLog.h"

#include "core/base/Cp932.h"

#include <sys/file.h>

#include <cstdio>
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

// The next free line number from the count line, or from the file's length when the count
// line cannot be read (a damaged file gets its next entry after the last whole line, never
// on top of older entries).
int nextLineNumber(std::FILE* file, const FixedLogLayout& layout) {
    // Only the count line's own 20 bytes are parsed, so a damaged one never borrows numbers
    // from the entry behind it.
    char countLine[21] = {};
    char date[21] = {}, clock[21] = {};
    int next = 0;
    if (std::fseek(file, kCountLineOffset, SEEK_SET) == 0 && std::fread(countLine, 1, 20, file) == 20 &&
        std::sscanf(countLine, "%20s %20s %d", date, clock, &next) == 3 && next >= kFirstEntryLine)
        return next;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    if (size <= static_cast<long>(kFirstEntryOffset)) return kFirstEntryLine;
    return kFirstEntryLine + static_cast<int>((size - kFirstEntryOffset) / layout.lineBytes);
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

void appendFixedLog(const std::string& path, const FixedLogLayout& layout, const CalendarTime& time,
                    std::string_view message) {
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    int next = kFirstEntryLine;
    if (file == nullptr) {
        file = std::fopen(path.c_str(), "w+b");
        if (file == nullptr) return;
        // The count line always starts at byte 22, whatever the header's length.
        std::string start = layout.header;
        start.resize(kCountLineOffset, '\0');
        std::fwrite(start.data(), 1, start.size(), file);
    } else {
        // Another copy of the program may write the same log.
        flock(fileno(file), LOCK_EX);
        next = nextLineNumber(file, layout);
    }
    if (next - kFirstEntryLine >= layout.ringLines) next = kFirstEntryLine;

    auto parts = splitMessage(message, layout);
    std::string countLine = formatCountLine(time, next + static_cast<int>(parts.size()));
    std::fseek(file, kCountLineOffset, SEEK_SET);
    std::fwrite(countLine.data(), 1, countLine.size(), file);

    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d ", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    std::string lines = stamp + parts[0] + "\r\n";
    for (std::size_t i = 1; i < parts.size(); ++i) lines += parts[i] + "\r\n";
    std::fseek(file, lineOffset(next, layout), SEEK_SET);
    std::fwrite(lines.data(), 1, lines.size(), file);
    std::fclose(file);
}

}  // namespace fenta21
