#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fenta21::cli {

// The words the commands take, read strictly: a value that is not exactly one of the
// dialog's choices is refused rather than guessed.

// A number written in decimal digits only, from `low` to `high`.
std::optional<int> numberBetween(const std::string& text, int low, int high);

// An address-book number as the lists show it (1-100), as the place 0-99.
std::optional<int> stationPlace(const std::string& text);

// A row of a list as the lists number it (from 1), as the row counted from 0. Whether the
// list has it is the list's to say.
std::optional<int> listRow(const std::string& text);

// "COM3" or "3" (the letters in any case): the port number 1-9.
std::optional<int> portNumberWord(std::string text);

// A bit rate of the speed table ("9600") or its index 0-9: the index.
std::optional<int> speedIndexWord(const std::string& text);

// The options "--name VALUE" of `names` taken out of `args`, in the order given; the rest
// stays in order. False, with `error` set, when an option lacks its value or comes twice.
struct NamedValue {
    std::string name;
    std::string value;
};
bool takeNamedValues(std::vector<std::string>& args, const std::vector<std::string>& names,
                     std::vector<NamedValue>& values, std::string& error);

}  // namespace fenta21::cli
