#pragma once

#include "core/base/CsvFileResult.h"

#include <optional>

namespace fenta21 {

// What a receiver counts of one transfer, for the collection's outcome.
struct TransferTally {
    long bytesReceived = 0;  // the memory image's blocks, or a listing's stored record lines
    int blocksReceived = 0;  // each block once, however often it was sent
    int retries = 0;
    bool clearSent = false;
    bool clearAnswered = false;
    // How the CSV conversion of the stored data file ended, when one ran.
    std::optional<CsvFileResult> conversion;
};

}  // namespace fenta21
