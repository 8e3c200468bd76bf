#include "core/panel/PanelText.h"

#include "core/base/Cp932.h"

namespace fenta21 {

std::size_t displayWidth(std::string_view utf8) { return utf8ToCp932(utf8).size(); }

std::vector<DisplayCell> displayCells(std::string_view utf8) {
    std::string cp932 = utf8ToCp932(utf8);
    std::vector<DisplayCell> cells;
    for (std::size_t at = 0; at < cp932.size();) {
        std::size_t width = isCp932LeadByte(static_cast<unsigned char>(cp932[at])) && at + 1 < cp932.size() ? 2 : 1;
        cells.push_back({cp932ToUtf8(std::string_view(cp932).substr(at, width)), at, width});
        at += width;
    }
    return cells;
}

std::string cutToWidth(std::string_view utf8, std::size_t width) {
    std::string cp932 = utf8ToCp932(utf8);
    if (cp932.size() <= width) return std::string(utf8);
    return cp932ToUtf8(std::string_view(cp932).substr(0, cp932PrefixLength(cp932, width)));
}

std::string keepEnd(std::string_view utf8, std::size_t width) {
    std::string cp932 = utf8ToCp932(utf8);
    if (cp932.size() <= width) return std::string(utf8);
    // Walk the characters from the front; the first one that starts within the last `width`
    // bytes begins the kept part, so no double-byte character is split.
    std::size_t start = 0;
    while (start < cp932.size() && cp932.size() - start > width)
        start += isCp932LeadByte(static_cast<unsigned char>(cp932[start])) && start + 1 < cp932.size() ? 2 : 1;
    return cp932ToUtf8(std::string_view(cp932).substr(start));
}

std::string rightAligned(std::string_view utf8, std::size_t width) {
    std::string text = cutToWidth(utf8, width);
    std::size_t columns = displayWidth(text);
    return std::string(width > columns ? width - columns : 0, ' ') + text;
}

std::string leftAligned(std::string_view utf8, std::size_t width) {
    std::string text = cutToWidth(utf8, width);
    std::size_t columns = displayWidth(text);
    return text + std::string(width > columns ? width - columns : 0, ' ');
}

std::string_view tailFrom(std::string_view reply, std::size_t position) {
    return position < reply.size() ? reply.substr(position) : std::string_view();
}

std::string loggerText(std::string_view cp932) { return cp932ToUtf8(cp932); }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace fenta21
