#pragma once

#include "core/base/CalendarTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21::store {

// Times in the store: a station keeps a fixed offset from UTC (never a daylight-saving
// change), given in minutes east of Greenwich.
inline constexpr int kDefaultUtcOffsetMinutes = 9 * 60;

// "+09:00", "-03:30", "+00:00".
std::string utcOffsetText(int minutes);
// "+09:00", "+0900", "+09", "Z" and "-05:00" alike, within ±18 hours; nothing for anything else.
std::optional<int> parseUtcOffset(std::string_view text);

// "YYYY-MM-DD HH:MM:SS": how the store writes a reading (a logger's clock, a collecting
// machine's) as text, so that text order is time order.
std::string readingText(const CalendarTime& time);

// The UTC instant of `utcSeconds` as ISO 8601 in a fixed offset: "2026-12-08T09:30:15+09:00".
std::string isoTime(std::int64_t utcSeconds, int offsetMinutes);

// A time as a user types it for a station whose offset is `offsetMinutes`: "2026-12-08",
// "2026-12-08T09:30", "2026-12-08T09:30:15" (also with a blank for the "T") are readings in
// that offset; a trailing offset or "Z" says its own. Seconds since 1970 UTC, or nothing.
std::optional<std::int64_t> parseUserTime(std::string_view text, int offsetMinutes);

// The machine's own offset at a local reading, for the times of its collections.
std::int64_t localReadingToUtc(const CalendarTime& local);

}  // namespace fenta21::store
