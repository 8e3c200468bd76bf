#include "cli/StoredFiles.h"

#include "cli/Commands.h"
#include "core/session/Session.h"
#include "core/collect/CollectResult.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

std::string whyNoCsv(const CsvFileResult& result) {
    if (result.outcome == CsvFileOutcome::StoppedByUser)
        return "the conversion stopped at a record that cannot be converted (\"fenta21-cli csv --yes --overwrite " +
               result.dataFile + "\" goes on past such records)";
    return result.failure.empty() ? "the conversion failed" : result.failure;
}

}  // namespace

StoredFiles::StoredFiles(Session& session, bool printPaths)
    : session_(session), printPaths_(printPaths),
      subscription_(session.events.subscribe<CollectionFinished>(
          [this](const CollectionFinished& collection) { stored(collection); })) {}

void StoredFiles::stored(const CollectionFinished& collection) {
    if (collection.dataFile.empty()) return;
    const std::string& path = collection.dataFile;
    StoredFile file;
    file.path = path;
    if (printPaths_) std::printf("%s\n", path.c_str());
    // A text collection is not converted: no conversion is told for it.
    if (const auto& conversion = collection.conversion) {
        file.isDataFile = true;
        if (conversion->outcome == CsvFileOutcome::Converted) {
            file.csvFile = conversion->csvFile;
        } else {
            csvFailures_.fetch_add(1);
            file.csvProblem = whyNoCsv(*conversion);
            std::fprintf(stderr, "fenta21-cli: no CSV file for %s: %s\n", path.c_str(), file.csvProblem.c_str());
        }
    }
    if (printPaths_) {
        if (!file.csvFile.empty()) std::printf("%s\n", file.csvFile.c_str());
        std::fflush(stdout);
    }
    std::lock_guard lock(mutex_);
    files_.push_back(std::move(file));
}

int StoredFiles::csvFailures() const {
    session_.events.flush();
    return csvFailures_.load();
}

std::vector<StoredFile> StoredFiles::files() const {
    session_.events.flush();
    std::lock_guard lock(mutex_);
    return files_;
}

int collectionExitStatus(const std::vector<int>& results, const StoredFiles& files) {
    bool nothingNew = false;
    for (int result : results) {
        if (result == kCollectNothingNew) nothingNew = true;
        else if (result != kCollectOk) return kExitFailed;
    }
    if (files.csvFailures() > 0) return kExitCsvFailed;
    return nothingNew ? kExitNothingNew : kExitOk;
}

}  // namespace fenta21::cli
