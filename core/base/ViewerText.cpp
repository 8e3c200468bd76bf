#include "core/base/ViewerText.h"

#include "core/base/Cp932.h"

namespace fenta21 {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kMiddleDot = "\xEF\xBD\xA5";  // U+FF65

bool hasNonAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Line ends made "\n" and control characters made visible; the text is UTF-8 already, so
// every byte below 0x20 and 0x7F is a character of its own.
std::string shownLines(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        if (c == '\r') {
            shown += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        } else if (c == '\n' || c == '\t') {
            shown += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            shown += kMiddleDot;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        char32_t value;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        bool surrogate = value >= 0xD800 && value <= 0xDFFF;
        if (overlong || surrogate || value > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

std::string viewerText(std::string_view fileBytes) {
    if (fileBytes.starts_with(kByteOrderMark)) return shownLines(fileBytes.substr(kByteOrderMark.size()));
    if (hasNonAscii(fileBytes) && isValidUtf8(fileBytes)) return shownLines(fileBytes);
    return shownLines(cp932ToUtf8(fileBytes));
}

}  // namespace fenta21
