#pragma once

#include "core/datafile/DataRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// What a data file holds, in brief: how many records its record area has and the times of
// the first and the last. Only valid records count; start markers, never-written memory and
// damaged records are passed over, as the viewer shows them without a decoded text.
struct DataFileSummary {
    std::string problem;  // why the bytes are not a data file (notADataFileReason), or empty
    std::size_t recordCount = 0;
    std::optional<DataRecord> first;
    std::optional<DataRecord> last;
};

// The record area is read up to endOffset and never past the end of the file.
DataFileSummary summarizeDataFile(std::string_view image);
// A file that cannot be read has the problem "cannot be read".
DataFileSummary summarizeDataFileAt(const std::string& path);

// A record's time as "2026-04-01T00:10:00" (the year within the century counted from 2000).
std::string recordTimeText(const DataRecord& record);

}  // namespace fenta21
