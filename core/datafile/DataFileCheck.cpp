#include "core/datafile/DataFileCheck.h"

#include "core/datafile/DataFileHeader.h"
#include "core/datafile/DataRecord.h"
#include "core/datafile/OffsetText.h"
#include "core/datafile/RecordPage.h"

#include <algorithm>
#include <optional>

namespace fenta21 {
namespace {

// The header bytes the program reads: up to the end of the six memo texts.
constexpr std::size_t kHeaderBytesRead = kHeaderMemoOffset + kHeaderMemoLines * kHeaderMemoBytes;

}  // namespace

std::string notADataFileReason(std::string_view image) {
    std::optional<RecordArea> area = readRecordArea(image);
    if (!area || image.size() < kHeaderBytesRead)
        return "it is " + std::to_string(image.size()) + " bytes long, too short for the header of a data file (" +
               std::to_string(kHeaderBytesRead) + " bytes)";
    if (area->startOffset < kHeaderBytesRead)
        return "its record area would start at 0x" + offsetText(area->startOffset) + ", inside the header";
    if (area->startOffset > image.size())
        return "its record area would start at 0x" + offsetText(area->startOffset) + ", beyond its end (" +
               std::to_string(image.size()) + " bytes)";
    if (area->endOffset < area->startOffset)
        return "its record area would end (0x" + offsetText(area->endOffset) + ") before it starts (0x" +
               offsetText(area->startOffset) + ")";
    return {};
}

int recordPageCount(std::string_view image) {
    std::optional<RecordArea> area = readRecordArea(image);
    if (!area) return 1;
    std::uint64_t end = std::min<std::uint64_t>(area->endOffset, image.size());
    if (end <= area->startOffset) return 1;
    std::uint64_t records = (end - area->startOffset + kRecordBytes - 1) / kRecordBytes;
    return static_cast<int>(std::max<std::uint64_t>(1, (records + kRecordsPerPage - 1) / kRecordsPerPage));
}

}  // namespace fenta21
