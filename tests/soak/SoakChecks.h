#pragma once

#include "core/report/FixedLog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::test {

// What must hold after any collection, whatever went wrong on the line or on the disk.

// The first thing in a fixed log that is not as the program writes it (header, count line,
// entry and continuation lines of the layout's width, the count matching the file's length),
// or "" when there is none. An empty file is a log that has nothing yet.
std::string fixedLogProblem(const std::string& bytes, const FixedLogLayout& layout);

// The problems of ERR.LOG and RSV.LOG in a home folder, each named after its file; a log that
// does not exist has none.
std::vector<std::string> logLayoutProblems(const std::string& homeFolder);

// The records a data file holds: from its start field to its end field, or to its own end
// when it stops short of that.
struct RecordSpan {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
};
std::optional<RecordSpan> recordSpan(const std::string& dataFile);

// Why a stored data file is not a whole copy of the logger's memory up to its end field (the
// memory may have grown since: the records it holds must still be those of `image`), or "".
std::string wholeCopyProblem(const std::string& dataFile, const std::string& image);

// The first gap in [first, end) that none of the spans covers, as text, or "".
std::string coverageGap(std::vector<RecordSpan> spans, std::uint32_t first, std::uint32_t end);

// The regular files of a folder by name (none when it does not exist).
std::vector<std::string> folderEntries(const std::string& folder);

}  // namespace fenta21::test
