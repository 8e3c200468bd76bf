#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21::plot {

// A time on the logger's calendar as the program writes it: "2026/04/01 00:10:00".
std::string timeText(std::int64_t seconds);

// A time as a user gives one: "2026-04-01T00:10:00", "2026/04/01 00:10:00", without seconds,
// or a date alone (its midnight). Nothing for anything else, or for a date that does not exist.
std::optional<std::int64_t> parseTimeText(std::string_view text);

}  // namespace fenta21::plot
