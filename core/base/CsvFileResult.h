#pragma once

#include <string>

namespace fenta21 {

enum class CsvFileOutcome {
    Converted,      // the CSV holds the whole file
    StoppedByUser,  // the user answered no to a question; the CSV holds what came before
    Failed,         // reported; the CSV (if one was written) holds what came before
    KeptExisting,   // the CSV existed and the user chose not to overwrite it
    NotReached,     // the user cancelled the run before this file
};

struct CsvFileResult {
    std::string dataFile;
    std::string csvFile;
    CsvFileOutcome outcome = CsvFileOutcome::Failed;
    std::string failure;  // why it failed, in plain words (the user's message is the fixed one)
    // The conversion did not reach the end, and the CSV that was there before stays as it was.
    bool existingCsvKept = false;

    bool operator==(const CsvFileResult&) const = default;
};

}  // namespace fenta21
