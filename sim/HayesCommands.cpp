#include "sim/HayesCommands.h"

#include <cctype>

namespace fenta21::sim {
namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string digitsFrom(std::string_view text, std::size_t& at) {
    std::string digits;
    while (at < text.size() && isDigit(text[at])) digits.push_back(text[at++]);
    return digits;
}

}  // namespace

std::size_t commandStart(std::string_view line) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        if (upper(line[i]) == 'A' && upper(line[i + 1]) == 'T') return i + 2;
    return std::string_view::npos;
}

std::optional<std::vector<HayesCommand>> parseHayesLine(std::string_view line) {
    std::size_t at = commandStart(line);
    if (at == std::string_view::npos) return std::nullopt;
    std::vector<HayesCommand> commands;
    while (at < line.size()) {
        const char c = upper(line[at++]);
        if (c == ' ') continue;
        if (c == 'D') {
            commands.push_back({"D", std::string(line.substr(at))});
            break;
        }
        HayesCommand command{std::string(1, c), {}};
        // Extended sets name their command with a second character: "&F", "\N2".
        if ((c == '&' || c == '\\' || c == '%') && at < line.size()) command.name.push_back(upper(line[at++]));
        command.argument = digitsFrom(line, at);
        // A register is read ("S7?") or set ("S7=30").
        if (c == 'S' && at < line.size() && (line[at] == '=' || line[at] == '?')) {
            command.argument.push_back(line[at++]);
            command.argument += digitsFrom(line, at);
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

std::string dialledDigits(std::string_view dialString) {
    std::string digits;
    for (char c : dialString)
        if (isDigit(c) || c == '*' || c == '#') digits.push_back(c);
    return digits;
}

}  // namespace fenta21::sim
