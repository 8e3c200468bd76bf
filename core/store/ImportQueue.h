#pragma once

#include <string>
#include <vector>

namespace fenta21::store {

// The data files a home's collections stored that are not in the record store yet, one path a
// line in "store-queue.txt" in the home. A collection's file is queued before it is imported
// and taken off once its import is committed, so a store that is away, a full disk or a program
// that is killed part-way leaves it queued for the next start or collection. Every change runs
// under the home's lock, as several programs may collect into one home.
inline constexpr const char* kImportQueueFileName = "store-queue.txt";

std::vector<std::string> queuedFiles(const std::string& homeFolder);
// Adds the file (once); false, with `problem` said, when the queue could not be written.
bool queueFile(const std::string& homeFolder, const std::string& path, std::string& problem);
// Takes the file off the queue; true when it is not there afterwards.
bool unqueueFile(const std::string& homeFolder, const std::string& path);

}  // namespace fenta21::store
