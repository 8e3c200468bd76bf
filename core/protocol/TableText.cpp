#include "core/protocol/TableText.h"

#include "core/base/Cp932.h"

#include <charconv>

namespace fenta21 {

std::vector<std::string_view> splitTableLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(start, (end == std::string_view::npos ? text.size() : end) - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::vector<std::string_view> splitTableFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

std::optional<int> parseTableInteger(std::string_view field) {
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
    if (!field.empty() && field.front() == '+') {
        field.remove_prefix(1);
        if (!field.empty() && field.front() == '-') return std::nullopt;
    }
    if (field.empty()) return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

FittedField fitTableField(std::string_view field, std::size_t maxBytes) {
    std::size_t length = cp932PrefixLength(field, maxBytes);
    return FittedField{std::string(field.substr(0, length)), length < field.size()};
}

std::string tableProblem(std::string_view fileName, std::size_t lineIndex, std::string_view text) {
    std::string problem(fileName);
    problem += " " + std::to_string(lineIndex + 1) + "行目: ";
    problem += text;
    return problem;
}

}  // namespace fenta21
