#include "core/datafile/DataFileSummary.h"

#include "core/base/Files.h"
#include "core/datafile/DataFileCheck.h"
#include "core/datafile/DataFileHeader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace fenta21 {

DataFileSummary summarizeDataFile(std::string_view image) {
    DataFileSummary summary;
    summary.problem = notADataFileReason(image);
    if (!summary.problem.empty()) return summary;
    std::optional<RecordArea> area = readRecordArea(image);
    std::uint64_t end = std::min<std::uint64_t>(area->endOffset, image.size());
    for (std::uint64_t at = area->startOffset; at + kRecordBytes <= end; at += kRecordBytes) {
        std::optional<DataRecord> record = decodeRecord(image.substr(at, kRecordBytes));
        if (!record) continue;
        ++summary.recordCount;
        if (!summary.first) summary.first = record;
        summary.last = record;
    }
    return summary;
}

DataFileSummary summarizeDataFileAt(const std::string& path) {
    FileContent content = readRegularFile(path);
    if (!content.bytes) {
        DataFileSummary summary;
        summary.problem = content.problem.empty() ? "cannot be read" : content.problem;
        return summary;
    }
    return summarizeDataFile(*content.bytes);
}

std::string recordTimeText(const DataRecord& record) {
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", 2000 + record.year, record.month, record.day,
                  record.hour, record.minute, record.second);
    return text;
}

}  // namespace fenta21
