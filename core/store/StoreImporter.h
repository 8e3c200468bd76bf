#pragma once

#include "core/events/EventHub.h"
#include "core/store/RecordStore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace fenta21::store {

// This machine's name, as the store's files and collections tables keep who imported and
// who collected.
std::string machineName();

// How one queued file's import ended.
struct ImportReport {
    std::string file;
    std::optional<ImportCounts> counts;  // nothing when it failed
    std::string problem;                 // why it failed
    bool queued = false;                 // it stays queued for the next start or collection
};

// Feeds a home's record store from its collections: every finished collection is kept in the
// collections table, and the data file it stored is queued and then imported. The work runs
// on a thread of its own, so neither a collection, its "clear" nor the other listeners ever
// wait for the store; a store that is away leaves the file queued, and the queue is worked off
// when the importer starts and after every collection. A home without a store is left alone.
// Attached by every program that collects.
class StoreImporter {
public:
    using Teller = std::function<void(const ImportReport& report)>;

    // Listens to `events`, the hub of the program that collects into `homeFolder`; `tell` hears
    // each file's outcome, on the importer's thread.
    StoreImporter(EventHub& events, std::string homeFolder, Teller tell = {});
    // Finishes the work announced so far (what the store cannot take stays queued).
    ~StoreImporter();
    StoreImporter(const StoreImporter&) = delete;
    StoreImporter& operator=(const StoreImporter&) = delete;

    // Waits until every collection announced so far, and the queue found at start, was
    // imported or left queued.
    void flush();

private:
    void heard(const CollectionFinished& collection);
    void work();
    // Queues the collection (nothing: only works off the queue), then imports what is queued.
    void runJob(const std::optional<CollectionFinished>& collection);
    void importQueued();

    EventHub& events_;
    const std::string home_;
    const Teller tell_;
    const std::string machine_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::optional<CollectionFinished>> jobs_;
    std::uint64_t added_ = 0;
    std::uint64_t done_ = 0;
    bool stopping_ = false;
    std::thread thread_;
    // Last, so that it ends first: nothing is told to a half-destroyed importer.
    EventHub::Subscription subscription_;
};

}  // namespace fenta21::store
