#pragma once

#include "core/events/EventHub.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21 {
class Session;
}

namespace fenta21::cli {

// A file a collection stored.
struct StoredFile {
    std::string path;
    bool isDataFile = false;  // converted (or not) to CSV; a text collection is not
    std::string csvFile;      // the CSV file when the conversion wrote it whole, else empty
    std::string csvProblem;   // why there is no CSV file for a data file
};

// Prints the paths of the files a collection stores, as each is stored: the data file, then
// its CSV file when the conversion wrote it whole. When it did not, the CSV path is not
// printed (a CSV that stops part-way is no copy of the data) and stderr says why. It listens
// to the session's collections for the object's life; what it tells waits until every
// collection announced so far was heard. With `printPaths` false (--json) the paths are only
// kept for the result.
class StoredFiles {
public:
    explicit StoredFiles(Session& session, bool printPaths = true);
    StoredFiles(const StoredFiles&) = delete;
    StoredFiles& operator=(const StoredFiles&) = delete;

    // Collections whose data file was stored but whose CSV file was not written whole.
    int csvFailures() const;
    // Every file stored so far, in order.
    std::vector<StoredFile> files() const;

private:
    void stored(const CollectionFinished& collection);

    Session& session_;
    const bool printPaths_;
    mutable std::mutex mutex_;
    std::vector<StoredFile> files_;
    std::atomic<int> csvFailures_{0};
    // Last, so that it ends first: nothing is told to a half-destroyed object.
    EventHub::Subscription subscription_;
};

// The exit status of one or more collections: 1 when any failed, else 3 when a CSV file
// could not be written, else 4 when some had nothing new, else 0.
int collectionExitStatus(const std::vector<int>& results, const StoredFiles& files);

}  // namespace fenta21::cli
