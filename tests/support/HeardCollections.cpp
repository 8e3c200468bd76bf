#include "tests/support/HeardCollections.h"

#include "core/session/Session.h"

namespace fenta21::test {

HeardCollections::HeardCollections(Session& session)
    : session_(session), subscription_(session.events.subscribe<CollectionFinished>([this](const CollectionFinished& heard) {
          std::lock_guard lock(mutex_);
          heard_.push_back(heard);
      })) {}

std::vector<CollectionFinished> HeardCollections::all() const {
    session_.events.flush();
    std::lock_guard lock(mutex_);
    return heard_;
}

std::vector<std::string> HeardCollections::storedFiles() const {
    std::vector<std::string> files;
    for (const CollectionFinished& collection : all())
        if (!collection.dataFile.empty()) files.push_back(collection.dataFile);
    return files;
}

}  // namespace fenta21::test
