#include "core/store/StoreImporter.h"

#include "core/base/AsideFile.h"
#include "core/datafile/CsvConversion.h"
#include "core/store/ImportQueue.h"
#include "core/store/StoreSettings.h"

#include <unistd.h>

namespace fenta21::store {

std::string machineName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

StoreImporter::StoreImporter(EventHub& events, std::string homeFolder, Teller tell)
    : events_(events), home_(std::move(homeFolder)), tell_(std::move(tell)), machine_(machineName()) {
    // What earlier runs left queued is imported first.
    jobs_.push_back(std::nullopt);
    added_ = 1;
    thread_ = std::thread([this] { work(); });
    subscription_ = events_.subscribe<CollectionFinished>([this](const CollectionFinished& c) { heard(c); });
}

StoreImporter::~StoreImporter() {
    // Every collection announced so far is heard first.
    subscription_.reset();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void StoreImporter::flush() {
    events_.flush();
    std::unique_lock lock(mutex_);
    std::uint64_t wanted = added_;
    changed_.wait(lock, [&] { return done_ >= wanted; });
}

void StoreImporter::heard(const CollectionFinished& collection) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(collection);
        ++added_;
    }
    changed_.notify_all();
}

void StoreImporter::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        std::optional<CollectionFinished> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        try {
            runJob(job);
        } catch (const std::exception& e) {
            // Whatever went wrong stays with the store: the collection is done and its file kept.
            if (tell_) tell_({job ? job->dataFile : std::string(), std::nullopt, e.what(), true});
        }
        lock.lock();
        ++done_;
        changed_.notify_all();
    }
}

void StoreImporter::runJob(const std::optional<CollectionFinished>& collection) {
    const std::string& home = home_;
    if (!storeLocation(home)) return;
    if (collection) {
        QueuedCollection queued{randomUniqueNamePart(), *collection};
        std::string problem;
        if (!queueCollection(home, queued, problem) && tell_)
            tell_({collection->dataFile, std::nullopt, "cannot queue it for the record store: " + problem, false});
    }
    importQueued();
}

void StoreImporter::importQueued() {
    const std::string& home = home_;
    std::vector<QueuedCollection> queued = queuedCollections(home);
    if (queued.empty()) return;
    std::unique_ptr<RecordStore> store;
    try {
        store = openHomeStore(home);
    } catch (const StoreError& e) {
        if (tell_)
            for (const QueuedCollection& entry : queued)
                if (entry.hasDataFile()) tell_({entry.collection.dataFile, std::nullopt, e.what(), true});
        return;
    }
    if (!store) return;
    // A model table of its own: identifying a file's model here never changes the model the
    // panel or the converter has in hand.
    ModelRegistry models(home);
    models.loadModelTable();
    ImportOptions options;
    options.machine = machine_;
    options.identifyModel = identifyThrough(models);
    for (const QueuedCollection& entry : queued) {
        ImportReport report;
        report.file = entry.collection.dataFile;
        try {
            store->recordCollection(entry.collection, machine_, entry.id);
            if (entry.hasDataFile()) report.counts = store->importFile(entry.collection.dataFile, options);
        } catch (const UnreadableFile& e) {
            // Trying again would fail the same way: said once, and off the queue.
            report.problem = e.what();
        } catch (const StoreError& e) {
            report.problem = e.what();
            report.queued = true;
            if (tell_ && entry.hasDataFile()) tell_(report);
            return;  // the store is away: the rest waits for the next time as well
        }
        unqueueCollection(home, entry.id);
        if (tell_ && entry.hasDataFile()) tell_(report);
    }
}

}  // namespace fenta21::store
