#include "core/panel/DialogChecks.h"

#include "core/base/Cp932.h"
#include "core/panel/ReplyScanner.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace fenta21 {
namespace {

bool onlyBlanksLeft(const ReplyScanner& scanner) {
    for (char c : scanner.rest())
        if (c != ' ' && c != '\t') return false;
    return true;
}

// "a<sep>b[<sep>c]" with nothing else but blanks.
template <std::size_t N>
bool readNumbers(std::string_view text, char separator, std::array<int, N>& numbers) {
    ReplyScanner scanner(text);
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0 && !scanner.literal(separator)) return false;
        if (!scanner.integer(numbers[i])) return false;
    }
    return onlyBlanksLeft(scanner);
}

bool within(int value, int low, int high) { return value >= low && value <= high; }

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

std::optional<int> readRtcAdjustment(std::string_view text) {
    std::optional<int> value = wholeInteger(text);
    if (!value || !within(*value, kRtcAdjustMin, kRtcAdjustMax)) return std::nullopt;
    return value;
}

std::string checkRtcAdjustment(const std::vector<std::string>& fields) {
    if (fields.size() == 1 && readRtcAdjustment(fields[0])) return {};
    return "-64 から 63 までの整数を入力してください。";
}

std::string memoLabel(int number) { return "MEMO " + std::to_string(number); }

std::string checkMemo(int number, const std::string& memo) {
    // The logger keeps 16 bytes of code page 932, so a double-byte character counts twice:
    // the message says bytes and names the memo, as the six look alike.
    const std::string label = memoLabel(number);
    for (unsigned char c : memo)
        if (c < 0x20 || c == 0x7F) return label + "に制御文字は使えません。";
    std::string cp932 = utf8ToCp932(memo);
    if (cp932ToUtf8(cp932) != memo) return label + "に使えない文字があります。";
    if (cp932.size() > kMemoColumns)
        return label + "は" + std::to_string(kMemoColumns) + "バイト(半角" + std::to_string(kMemoColumns) + "文字、全角" +
               std::to_string(kMemoColumns / 2) + "文字)以内で入力してください。";
    return {};
}

std::string checkMemos(const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string complaint = checkMemo(static_cast<int>(i) + 1, fields[i]);
        if (!complaint.empty()) return complaint;
    }
    return {};
}

std::optional<AfterStart> readAfterStartFields(const std::vector<std::string>& fields) {
    std::array<int, 2> date{}, time{};
    if (fields.size() != 2 || !readNumbers(fields[0], '/', date) || !readNumbers(fields[1], ':', time))
        return std::nullopt;
    AfterStart start{date[0], date[1], time[0], time[1]};
    if (!within(start.month, 1, 12) || !within(start.day, 1, 31) || !within(start.hour, 0, 23) ||
        !within(start.minute, 0, 59))
        return std::nullopt;
    return start;
}

std::string checkAfterStart(const std::vector<std::string>& fields) {
    if (readAfterStartFields(fields)) return {};
    return "日付は 月/日、時刻は 時:分 の形で、正しい範囲の数を入力してください。";
}

std::vector<std::string> afterStartFields(const AfterStart& s) {
    return {twoDigits(s.month) + "/" + twoDigits(s.day), twoDigits(s.hour) + ":" + twoDigits(s.minute)};
}

std::optional<LoggerTime> readDateTimeFields(const std::vector<std::string>& fields) {
    std::array<int, 3> date{}, time{};
    if (fields.size() != 2 || !readNumbers(fields[0], '/', date) || !readNumbers(fields[1], ':', time))
        return std::nullopt;
    LoggerTime t{date[0], date[1], date[2], time[0], time[1], time[2]};
    if (!within(t.year, 0, 99) || !within(t.month, 1, 12) || !within(t.day, 1, 31) || !within(t.hour, 0, 23) ||
        !within(t.minute, 0, 59) || !within(t.second, 0, 59))
        return std::nullopt;
    return t;
}

std::string checkDateTime(const std::vector<std::string>& fields) {
    if (readDateTimeFields(fields)) return {};
    return "日付は 年/月/日、時刻は 時:分:秒 の形で、正しい範囲の数を入力してください。";
}

std::vector<std::string> dateTimeFields(const LoggerTime& t) {
    return {twoDigits(t.year) + "/" + twoDigits(t.month) + "/" + twoDigits(t.day),
            twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second)};
}

std::optional<double> readOffset(std::string_view text, const OffsetLimits& limits) {
    std::optional<double> value = wholeDecimal(text);
    if (!value || *value < limits.lower || *value > limits.upper) return std::nullopt;
    return value;
}

std::string checkOffset(const std::vector<std::string>& fields, const OffsetLimits& limits) {
    if (fields.size() == 1 && readOffset(fields[0], limits)) return {};
    return shortestDecimal(limits.lower) + " から " + shortestDecimal(limits.upper) + " までの数値を入力してください。";
}

std::string shortestDecimal(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return {};
    return std::string(buffer, end);
}

}  // namespace fenta21
