#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::sim {

// One command of a Hayes command line: its name in upper case ("E", "Q", "Z", "D", "&F",
// "\N", "S") and what follows it ("0", "T0312345678", "7=30"). A missing number is empty.
struct HayesCommand {
    std::string name;
    std::string argument;
};

// Where the commands of a line begin: just after its first "AT" (either case). Bytes before it
// are line noise or the left-over pluses of an escape sent to a modem that was already taking
// commands; a modem skips them the same way. npos when the line holds no "AT".
std::size_t commandStart(std::string_view line);

// The commands after "AT", in order; nullopt for a line that is no command line. A dial takes
// the rest of the line as its argument, as a modem reads it.
std::optional<std::vector<HayesCommand>> parseHayesLine(std::string_view line);

// The digits a dial string reaches: tone, pulse and pause modifiers and separators dropped.
std::string dialledDigits(std::string_view dialString);

}  // namespace fenta21::sim
