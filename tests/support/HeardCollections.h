#pragma once

#include "core/events/EventHub.h"

#include <mutex>
#include <string>
#include <vector>

namespace fenta21 {
class Session;
}

namespace fenta21::test {

// A listener that keeps every collection a session announces.
class HeardCollections {
public:
    explicit HeardCollections(Session& session);
    // What was heard, once everything announced so far has arrived.
    std::vector<CollectionFinished> all() const;
    // The files those collections stored, in order.
    std::vector<std::string> storedFiles() const;

private:
    Session& session_;
    mutable std::mutex mutex_;
    std::vector<CollectionFinished> heard_;
    EventHub::Subscription subscription_;  // last: it ends before what it writes to
};

}  // namespace fenta21::test
