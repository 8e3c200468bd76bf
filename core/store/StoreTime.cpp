#include "core/store/StoreTime.h"

#include "core/base/LocalTime.h"

#include <cstdio>
#include <ctime>

namespace fenta21::store {
namespace {

constexpr int kMostOffsetMinutes = 18 * 60;

bool digitsAt(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string utcOffsetText(int minutes) {
    char text[16];
    int magnitude = minutes < 0 ? -minutes : minutes;
    std::snprintf(text, sizeof text, "%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

std::optional<int> parseUtcOffset(std::string_view text) {
    if (text == "Z" || text == "z") return 0;
    if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    int hours = 0;
    int minutes = 0;
    if (!digitsAt(text, 1, 2, hours)) return std::nullopt;
    std::string_view rest = text.substr(3);
    if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
    else if (!rest.empty() && text.size() != 5) return std::nullopt;
    if (!rest.empty() && (rest.size() != 2 || !digitsAt(rest, 0, 2, minutes) || minutes > 59)) return std::nullopt;
    int total = hours * 60 + minutes;
    if (total > kMostOffsetMinutes) return std::nullopt;
    return text[0] == '-' ? -total : total;
}

std::string readingText(const CalendarTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::string isoTime(std::int64_t utcSeconds, int offsetMinutes) {
    std::string text = readingText(calendarFromSeconds(utcSeconds + offsetMinutes * 60LL));
    text[10] = 'T';
    return text + utcOffsetText(offsetMinutes);
}

std::optional<std::int64_t> parseUserTime(std::string_view text, int offsetMinutes) {
    CalendarTime t;
    if (!digitsAt(text, 0, 4, t.year) || text.size() < 10 || text[4] != '-' || !digitsAt(text, 5, 2, t.month) ||
        text[7] != '-' || !digitsAt(text, 8, 2, t.day))
        return std::nullopt;
    std::string_view rest = text.substr(10);
    if (!rest.empty() && (rest.front() == 'T' || rest.front() == ' ')) {
        if (!digitsAt(rest, 1, 2, t.hour) || rest.size() < 6 || rest[3] != ':' || !digitsAt(rest, 4, 2, t.minute))
            return std::nullopt;
        rest.remove_prefix(6);
        if (!rest.empty() && rest.front() == ':') {
            if (!digitsAt(rest, 1, 2, t.second)) return std::nullopt;
            rest.remove_prefix(3);
        }
    }
    if (!rest.empty()) {
        std::optional<int> offset = parseUtcOffset(rest);
        if (!offset) return std::nullopt;
        offsetMinutes = *offset;
    }
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return calendarSeconds(t) - offsetMinutes * 60LL;
}

std::int64_t localReadingToUtc(const CalendarTime& local) { return localTimeToEpoch(local); }

}  // namespace fenta21::store
