#include "cli/StoreReports.h"

#include <cstdio>

namespace fenta21::cli {

std::string importCountsText(const store::ImportCounts& counts) {
    if (counts.alreadyKnown) return "already in the store";
    return std::to_string(counts.inserted) + " inserted, " + std::to_string(counts.duplicates) + " duplicates, " +
           std::to_string(counts.conflicts) + " conflicts, " + std::to_string(counts.skipped) + " skipped";
}

store::StoreImporter::Teller storeImportTeller() {
    return [](const store::ImportReport& report) {
        if (report.counts)
            std::fprintf(stderr, "fenta21-cli: record store: %s: %s\n", report.file.c_str(),
                         importCountsText(*report.counts).c_str());
        else
            std::fprintf(stderr, "fenta21-cli: record store: %s not imported%s: %s\n", report.file.c_str(),
                         report.queued ? " (queued for the next start or collection)" : "", report.problem.c_str());
    };
}

}  // namespace fenta21::cli
