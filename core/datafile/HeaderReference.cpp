#include "core/datafile/HeaderReference.h"

#include "core/base/Bytes.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/datafile/DataFileHeader.h"
#include "core/protocol/ModelFiles.h"
#include "core/protocol/TableText.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace fenta21 {

std::vector<HeaderItem> parseHeaderReference(std::string_view cp932Text) {
    std::vector<HeaderItem> items;
    for (std::string_view line : splitTableLines(cp932Text))
        items.push_back(HeaderItem{line.empty() ? '\0' : line.front(), cp932ToUtf8(line)});
    return items;
}

HeaderReference loadHeaderReference(const std::string& homeFolder, std::string_view modelCode) {
    HeaderReference reference;
    std::optional<std::string> text;
    if (std::optional<std::string> own = modelFilePath(homeFolder, modelCode, ".hed")) text = readWholeFile(*own);
    if (!text) {
        reference.ownFileMissing = true;
        text = readWholeFile(joinPath(homeFolder, kFallbackHeaderReference));
    }
    if (!text) return reference;
    reference.found = true;
    reference.items = parseHeaderReference(*text);
    return reference;
}

std::size_t headerItemBytes(char type) {
    switch (type) {
    case 'C': return 1;
    case 'I': return 2;
    case 'L': return 4;
    case 'F': return 4;
    case 'M': return 16;
    case 'T': return 6;
    default: return 0;
    }
}

std::string headerItemValue(const HeaderItem& item, std::string_view bytes) {
    switch (item.type) {
    case 'C': return std::to_string(static_cast<signed char>(bytes[0]));
    case 'I': return std::to_string(readInt16LE(bytes, 0));
    case 'L': return std::to_string(readInt32LE(bytes, 0));
    case 'F': {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(readInt32LE(bytes, 0)));
        char text[64];
        auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
        if (result.ec != std::errc()) return "?";
        return std::string(text, result.ptr);
    }
    case 'M': return cp932ToUtf8(fieldText(bytes.substr(0, 16)));
    case 'T': {
        char text[48];
        auto field = [&](int i) { return static_cast<int>(static_cast<signed char>(bytes[static_cast<std::size_t>(i)])); };
        std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", field(0), field(1), field(2), field(3), field(4),
                      field(5));
        return text;
    }
    default: return item.label;
    }
}

}  // namespace fenta21
