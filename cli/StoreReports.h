#pragma once

#include "core/store/StoreImporter.h"

#include <string>

namespace fenta21::cli {

// "400 inserted, 0 duplicates, 0 conflicts, 0 skipped", or "already in the store".
std::string importCountsText(const store::ImportCounts& counts);

// What a collecting command says of each file the record store took or could not take, on
// stderr: the paths on stdout stay the collection's own.
store::StoreImporter::Teller storeImportTeller();

}  // namespace fenta21::cli
