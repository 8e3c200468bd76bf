#include "cli/CommandWords.h"

#include "core/serial/TTYInfo.h"

#include <algorithm>
#include <cctype>

namespace fenta21::cli {

std::optional<int> numberBetween(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    int value = std::stoi(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::optional<int> stationPlace(const std::string& text) {
    std::optional<int> number = numberBetween(text, 1, 100);
    if (!number) return std::nullopt;
    return *number - 1;
}

std::optional<int> listRow(const std::string& text) {
    std::optional<int> number = numberBetween(text, 1, 999'999'999);
    if (!number) return std::nullopt;
    return *number - 1;
}

std::optional<int> portNumberWord(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.rfind("COM", 0) == 0) text = text.substr(3);
    if (text.size() != 1) return std::nullopt;
    return numberBetween(text, 1, 9);
}

std::optional<int> speedIndexWord(const std::string& text) {
    if (text.size() == 1) return numberBetween(text, 0, 9);
    for (std::size_t index = 0; index < kSpeedTable.size(); ++index)
        if (text == std::to_string(kSpeedTable[index])) return static_cast<int>(index);
    return std::nullopt;
}

bool takeNamedValues(std::vector<std::string>& args, const std::vector<std::string>& names,
                     std::vector<NamedValue>& values, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::find(names.begin(), names.end(), args[i]) == names.end()) {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return false;
        }
        for (const NamedValue& taken : values)
            if (taken.name == args[i]) {
                error = args[i] + " is given twice";
                return false;
            }
        values.push_back({args[i], args[i + 1]});
        ++i;
    }
    args = std::move(rest);
    return true;
}

}  // namespace fenta21::cli
