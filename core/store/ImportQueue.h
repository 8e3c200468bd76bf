#pragma once

#include "core/events/Events.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::store {

// The collections a home's programs finished that are not in the record store yet, with the
// data files they stored: "store-queue.txt" in the home, one collection a line. A collection
// is queued before its file is imported and taken off once both are committed, so a store that
// is away, a full disk or a program killed part-way leaves it queued for the next start or
// collection. Every change runs under the home's lock: several programs collect into one home.
inline constexpr const char* kImportQueueFileName = "store-queue.txt";

struct QueuedCollection {
    std::string id;  // unique to this announcement; the store keeps it only once
    CollectionFinished collection;

    // A data file to import: a stored file that was converted (a text listing is not).
    bool hasDataFile() const { return !collection.dataFile.empty() && collection.conversion.has_value(); }
};

// What is queued, oldest first. Lines that cannot be read are passed over.
std::vector<QueuedCollection> queuedCollections(const std::string& homeFolder);
// Adds a collection at the end; false, with `problem` said, when the queue could not be written.
bool queueCollection(const std::string& homeFolder, const QueuedCollection& queued, std::string& problem);
// Takes a collection off; true when it is not queued afterwards.
bool unqueueCollection(const std::string& homeFolder, const std::string& id);

// A collection as one line of the queue (without its line end), and back.
std::string queueLine(const QueuedCollection& queued);
std::optional<QueuedCollection> parseQueueLine(std::string_view line);

}  // namespace fenta21::store
