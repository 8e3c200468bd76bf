// A collection reaches the record store through the importer that listens to the collections:
// with the store away it is collected and cleared as always and its file waits in the queue;
// the next start imports it, and a collection with the store there goes straight in.
#include "core/app/DirectCollection.h"
#include "core/collect/CollectResult.h"
#include "core/store/ImportQueue.h"
#include "core/store/StoreImporter.h"
#include "core/store/StoreSettings.h"
#include "sim/image/DataImage.h"
#include "tests/support/SimLine.h"
#include "tests/support/StoreEngines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

std::string image(int instants) {
    sim::ImageRecipe recipe;
    recipe.instants = instants;
    recipe.channels = {{0, 20, 10, 1, 0}, {1, 5, -40, 3, 0}};
    return sim::buildDataImage(recipe);
}

// What the importer told, kept for the test.
struct Told {
    std::mutex mutex;
    std::vector<store::ImportReport> reports;
    store::StoreImporter::Teller teller() {
        return [this](const store::ImportReport& report) {
            std::lock_guard lock(mutex);
            reports.push_back(report);
        };
    }
};

class StoreFlow : public ::testing::TestWithParam<StoreEngineParam> {};

TEST_P(StoreFlow, ACollectionWhileTheStoreIsAwayIsImportedAtTheNextStart) {
    SimLine line;
    Session& session = *line.session;
    const std::string home = line.home.path();
    fs::create_directory(line.home.root() + "/data");
    std::optional<std::string> location = storeLocationFor(GetParam());
    if (!location) GTEST_SKIP() << "no PostgreSQL server";
    // The store is away: the server stopped, or the SQLite file's folder gone.
    const std::string sqliteFolder = line.home.root() + "/store";
    bool skipped = false;
    std::string problem;
    PostgresServer* server = GetParam() == StoreEngineParam::Postgres ? PostgresServer::shared(skipped, problem) : nullptr;
    if (server) store::openRecordStore(*location, home);  // the tables exist before it goes away
    std::string problemSaving;
    ASSERT_TRUE(store::saveStoreLocation(home, server ? *location : sqliteFolder + "/records.sqlite", problemSaving));
    if (server) {
        ASSERT_TRUE(server->stop());
    }

    line.logger.setMemoryImage(image(40));
    Told told;
    {
        store::StoreImporter importer(session.events, home, told.teller());
        ASSERT_EQ(directCollection(session, CollectCommand::Copy), kCollectOk);
        importer.flush();
    }
    EXPECT_EQ(line.logger.clearCount(), 1);
    std::vector<store::QueuedCollection> queued = store::queuedCollections(home);
    ASSERT_EQ(queued.size(), 1u);
    ASSERT_TRUE(queued[0].hasDataFile());
    EXPECT_EQ(readFileBytes(queued[0].collection.dataFile), line.logger.lastTransferImage());
    ASSERT_EQ(told.reports.size(), 1u);
    EXPECT_TRUE(told.reports[0].queued);
    EXPECT_FALSE(told.reports[0].counts);

    if (server) {
        ASSERT_TRUE(server->start());
    } else {
        fs::create_directory(sqliteFolder);
    }
    {
        store::StoreImporter importer(session.events, home, told.teller());
        importer.flush();
        EXPECT_TRUE(store::queuedCollections(home).empty());
        // The logger recorded on; the next collection takes only what is new, and it goes
        // straight in while the store is there.
        line.logger.setMemoryImage(image(70));
        ASSERT_EQ(directCollection(session, CollectCommand::AllCopy), kCollectOk);
        importer.flush();
    }
    EXPECT_TRUE(store::queuedCollections(home).empty());
    ASSERT_EQ(told.reports.size(), 3u);
    EXPECT_EQ(told.reports[1].counts, (store::ImportCounts{80, 0, 0, 0, false}));
    EXPECT_EQ(told.reports[2].counts, (store::ImportCounts{60, 80, 0, 0, false}));
    std::unique_ptr<store::RecordStore> opened = store::openHomeStore(home);
    store::StoreStatus status = opened->status();
    EXPECT_EQ(status.records, 140);
    EXPECT_EQ(status.files, 2);
    std::vector<store::CollectionRow> collections = opened->collections(0);
    ASSERT_EQ(collections.size(), 2u);
    EXPECT_TRUE(collections[0].clearAnswered);
    EXPECT_EQ(collections[1].dataFile, told.reports[2].file);
}

INSTANTIATE_TEST_SUITE_P(Engines, StoreFlow, FENTA21_STORE_ENGINES);

}  // namespace
}  // namespace fenta21::test
