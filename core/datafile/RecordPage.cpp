#include "core/datafile/RecordPage.h"

#include "core/base/Files.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/DataFileMessages.h"
#include "core/datafile/DataRecord.h"
#include "core/datafile/OffsetText.h"

#include <cstdio>
#include <optional>

namespace fenta21 {
namespace {

std::string hexText(const unsigned char* bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < kRecordBytes; ++i) {
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0xF];
    }
    return text;
}

std::string decodedText(const unsigned char* bytes) {
    std::optional<DataRecord> r = decodeRecord(bytes);
    if (!r) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d,%02d:%02d:%02d,%3d,%3d,%6d", r->year, r->month, r->day, r->hour,
                  r->minute, r->second, r->channel, r->kind, r->value);
    return text;
}

}  // namespace

RecordPage readRecordPage(std::string_view image, int page) {
    RecordPage result;
    result.page = page;
    if (page < 0) {
        result.isLastPage = true;
        return result;
    }
    std::optional<RecordArea> area = readRecordArea(image);
    if (!area) {
        result.messages.push_back(kRecordReadAbortedMessage);
        result.isLastPage = true;
        return result;
    }
    std::uint64_t position = area->startOffset + static_cast<std::uint64_t>(page) * kRecordsPerPage * kRecordBytes;
    const auto* bytes = reinterpret_cast<const unsigned char*>(image.data());
    for (std::size_t i = 0; i < kRecordsPerPage; ++i) {
        if (position >= area->endOffset) {
            result.isLastPage = true;
            break;
        }
        if (position + kRecordBytes > image.size()) {
            // The file ends before the record area does: a later page cannot be read either.
            result.messages.push_back(kRecordReadAbortedMessage);
            result.isLastPage = true;
            break;
        }
        const unsigned char* record = bytes + position;
        result.rows.push_back(RecordRow{static_cast<std::uint32_t>(position), offsetText(position), hexText(record),
                                        decodedText(record)});
        position += kRecordBytes;
    }
    return result;
}

RecordPage readRecordPageOfFile(const std::string& dataFile, int page) {
    std::optional<std::string> image = readWholeFile(dataFile);
    if (!image) {
        RecordPage result;
        result.page = page;
        result.isLastPage = true;
        result.messages.push_back(kRecordReadAbortedMessage);
        return result;
    }
    return readRecordPage(*image, page);
}

}  // namespace fenta21
