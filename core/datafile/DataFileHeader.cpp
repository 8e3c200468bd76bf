#include "core/datafile/DataFileHeader.h"

#include "core/base/Bytes.h"

namespace fenta21 {

std::optional<RecordArea> readRecordArea(std::string_view image) {
    if (image.size() < 10) return std::nullopt;
    return RecordArea{static_cast<std::uint32_t>(readInt32LE(image, 2)), static_cast<std::uint32_t>(readInt32LE(image, 6))};
}

std::string_view fieldText(std::string_view field) { return field.substr(0, field.find('\0')); }

std::optional<std::string> readModelCode(std::string_view image) {
    if (image.size() < kHeaderModelCodeOffset + kHeaderModelCodeBytes) return std::nullopt;
    return std::string(fieldText(image.substr(kHeaderModelCodeOffset, kHeaderModelCodeBytes)));
}

std::optional<std::array<std::string, kHeaderMemoLines>> readMemoLines(std::string_view image) {
    if (image.size() < kHeaderMemoOffset + kHeaderMemoLines * kHeaderMemoBytes) return std::nullopt;
    std::array<std::string, kHeaderMemoLines> lines;
    for (std::size_t i = 0; i < kHeaderMemoLines; ++i)
        lines[i] = std::string(fieldText(image.substr(kHeaderMemoOffset + i * kHeaderMemoBytes, kHeaderMemoBytes)));
    return lines;
}

}  // namespace fenta21
