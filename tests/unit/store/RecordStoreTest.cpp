// The record store against both engines: every golden data file gives the rows of its CSV,
// imports count each record once and keep what conflicts, times carry the station's fixed
// offset, and collections are kept once per announcement.
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/datafile/CsvConversion.h"
#include "core/datafile/DataFileHeader.h"
#include "core/store/RecordStore.h"
#include "core/store/StoreTime.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/StoreEngines.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using store::ImportCounts;

constexpr std::int64_t kAllTime = std::numeric_limits<std::int64_t>::max();

std::string goldenFolder() { return std::string(FENTA21_GOLDEN_DIR) + "/csv"; }

sim::ImageRecipe recipeOf(const std::string& text) {
    sim::ParsedRecipe parsed = sim::parseImageRecipe(text, true);
    if (!parsed.error.empty()) throw std::runtime_error(parsed.error);
    return parsed.recipe;
}

ImportCounts counts(std::int64_t inserted, std::int64_t duplicates, std::int64_t conflicts, std::int64_t skipped) {
    return {inserted, duplicates, conflicts, skipped, false};
}

// A row as the CSV shows it and as the store gives it back: the logger's reading and the text.
using Cell = std::pair<std::string, std::string>;

// Every value cell of a CSV, under its row's reading. The model line and the six memo lines
// come first; a heading pair starts with "date,time".
std::vector<Cell> csvCells(const std::string& csv) {
    std::vector<Cell> cells;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < csv.size();) {
        std::size_t end = csv.find("\r\n", start);
        lines.push_back(csv.substr(start, end - start));
        start = end + 2;
    }
    for (std::size_t i = 7; i < lines.size(); ++i) {
        if (lines[i].rfind("date,time", 0) == 0) {
            ++i;  // the units line
            continue;
        }
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t comma; (comma = lines[i].find(',', start)) != std::string::npos; start = comma + 1)
            fields.push_back(lines[i].substr(start, comma - start));
        fields.push_back(lines[i].substr(start));
        std::string reading = fields[0] + " " + fields[1];
        std::replace(reading.begin(), reading.end(), '/', '-');
        for (std::size_t f = 2; f < fields.size(); ++f)
            if (!fields[f].empty()) cells.push_back({reading, fields[f]});
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

class RecordStore : public ::testing::TestWithParam<StoreEngineParam> {
protected:
    void SetUp() override {
        installConfiguration(home);
        fs::create_directories(home.root() + "/data");
        std::optional<std::string> location = storeLocationFor(GetParam());
        if (!location) GTEST_SKIP() << "no PostgreSQL server";
        store = store::openRecordStore(*location, home.path());
        models.loadModelTable();
        options.identifyModel = identifyThrough(models);
        options.machine = "test-machine";
    }

    std::string dataFile(const std::string& name, const std::string& image) {
        std::string path = home.root() + "/data/" + name;
        writeFileAtomically(path, image);
        return path;
    }
    ImportCounts import(const std::string& name, const std::string& image) {
        return store->importFile(dataFile(name, image), options);
    }

    std::vector<Cell> storedCells(const std::string& station) {
        std::vector<Cell> cells;
        for (const store::SeriesRow& series : store->series(station))
            for (const store::RecordRow& row : store->records(series.id, std::numeric_limits<std::int64_t>::min(), kAllTime))
                cells.push_back({row.loggerTime, row.text});
        std::sort(cells.begin(), cells.end());
        return cells;
    }

    TempHome home;
    ModelRegistry models{home.path()};
    std::unique_ptr<store::RecordStore> store;
    store::ImportOptions options;
};

TEST_P(RecordStore, EveryGoldenDataFileGivesTheRowsOfItsCsvOnceAndNothingOnASecondImport) {
    CsvConversionContext yesToAll{identifyThrough(models), [](const std::string&) { return true; }};
    for (const auto& entry : fs::directory_iterator(goldenFolder())) {
        if (entry.path().extension() != ".recipe") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string image = sim::buildDataImage(recipeOf(readWholeFile(entry.path().string()).value()));
        std::vector<Cell> expected = csvCells(convertImageToCsv(image, name, yesToAll).csv);
        const std::string path = dataFile(name + "_261208_0930.v38", image);
        ImportCounts first;
        try {
            first = store->importFile(path, options);
        } catch (const store::UnreadableFile&) {
            EXPECT_TRUE(expected.empty()) << "a file the CSV converter reads records from was refused";
            continue;
        }
        EXPECT_EQ(storedCells(name), expected);
        EXPECT_EQ(first.inserted + first.duplicates + first.conflicts, static_cast<std::int64_t>(expected.size()));
        // A number reads as its text does.
        for (const store::SeriesRow& series : store->series(name)) {
            if (series.valueType != "number") continue;
            for (const store::RecordRow& row : store->records(series.id, 0, kAllTime))
                EXPECT_DOUBLE_EQ(row.number.value(), std::stod(row.text)) << row.loggerTime << " " << row.text;
        }
        ImportCounts again = store->importFile(path, options);
        EXPECT_TRUE(again.alreadyKnown);
        EXPECT_EQ(again.inserted, 0);
    }
}

TEST_P(RecordStore, CountsEveryRecordOnceAndKeepsConflictsBesideTheStoredValue) {
    const std::string wind =
        "model WNDA-01\nfirst 2026-04-01 00:00:00\ninterval 600\nchannel 0 20 50 1\nchannel 1 5 -20 1\n";
    struct Step {
        const char* what;
        std::string file;
        std::string recipe;
        ImportCounts expected;
    };
    const Step steps[] = {
        {"the first collection", "KAWABE_260401_0200.v38", wind + "instants 10\n", counts(20, 0, 0, 0)},
        {"all records again, four instants new", "KAWABE_260401_0240.v38", wind + "instants 14\n", counts(8, 20, 0, 0)},
        {"the clock set back: two readings again, one quantity with other values", "KAWABE_260402_0000.v38",
         "model WNDA-01\nfirst 2026-04-01 02:00:00\ninterval 600\nchannel 0 20 900 1\nchannel 1 5 -8 1\ninstants 6\n",
         counts(8, 2, 2, 0)},
        {"damaged records and an undefined kind are skipped", "KAWABE_260403_0000.v38",
         wind + "first 2026-04-03 00:00:00\ninstants 3\nchannel 2 99 1 1\ndamaged 1 0\ndamaged 2 1\n", counts(4, 0, 0, 5)},
        {"a file whose clock went back within it", "KAWABE_260404_0000.v38",
         wind + "first 2026-04-04 00:00:00\ninstants 2\n"
                "trailing-record 2026-04-04 00:00:00 0 20 50\ntrailing-record 2026-04-04 00:10:00 0 20 7\n",
         counts(4, 1, 1, 0)},
    };
    ImportCounts total;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ImportCounts got = import(step.file, sim::buildDataImage(recipeOf(step.recipe)));
        EXPECT_EQ(got, step.expected);
        total += got;
    }
    EXPECT_TRUE(import("KAWABE_copy.v38", sim::buildDataImage(recipeOf(steps[0].recipe))).alreadyKnown);

    store::StoreStatus status = store->status();
    EXPECT_EQ(status.records, total.inserted);
    EXPECT_EQ(status.conflicts, total.conflicts);
    EXPECT_EQ(status.files, 5);
    // The stored value stays the one imported first.
    std::vector<store::SeriesRow> series = store->series("KAWABE");
    ASSERT_EQ(series.size(), 2u);
    std::vector<store::RecordRow> speeds = store->records(series[0].id, 0, kAllTime);
    auto at = [&](const char* reading) {
        for (const store::RecordRow& row : speeds)
            if (row.loggerTime == reading) return row.text;
        return std::string("(none)");
    };
    EXPECT_EQ(at("2026-04-01 02:00:00"), "    6.2");
    EXPECT_EQ(at("2026-04-04 00:10:00"), "    5.1");
}

TEST_P(RecordStore, TimesAreTheLoggersReadingsInTheStationsFixedOffset) {
    const std::string recipe = "model WNDA-01\nfirst 2026-12-31 23:50:00\ninterval 600\ninstants 2\nchannel 0 20 50 1\n";
    const std::string image = sim::buildDataImage(recipeOf(recipe));
    struct Case {
        const char* what;
        std::string station;
        std::optional<int> storeOffset;   // set on the store before the import
        std::optional<int> importOffset;  // given with the import
        const char* firstUtc;
        const char* lastIso;  // the last reading, in the station's offset
    };
    const Case cases[] = {
        {"the store's +09:00", "TOKYO", std::nullopt, std::nullopt, "2026-12-31T14:50:00+00:00", "2027-01-01T00:00:00+09:00"},
        {"an offset given with the import", "LIMA", std::nullopt, -300, "2027-01-01T04:50:00+00:00", "2027-01-01T00:00:00-05:00"},
        {"the store's own offset changed", "KATHMANDU", 345, std::nullopt, "2026-12-31T18:05:00+00:00", "2027-01-01T00:00:00+05:45"},
        {"a known station keeps its offset", "TOKYO", 0, 60, "2026-12-31T14:50:00+00:00", "2027-01-01T00:00:00+09:00"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        if (c.storeOffset) store->setUtcOffset(*c.storeOffset);
        options.station = c.station;
        options.utcOffsetMinutes = c.importOffset;
        // Another file each time (the memo differs), so the content is never known yet.
        std::string copy = image;
        copy[kHeaderMemoOffset] = static_cast<char>('A' + i);
        import(c.station + ".v38", copy);
        std::vector<store::StationRow> stations = store->stations();
        auto station = std::find_if(stations.begin(), stations.end(), [&](const auto& s) { return s.name == c.station; });
        ASSERT_NE(station, stations.end());
        ASSERT_TRUE(station->firstUtc && station->lastUtc);
        EXPECT_EQ(store::isoTime(*station->firstUtc, 0), c.firstUtc);
        EXPECT_EQ(store::isoTime(*station->lastUtc, station->utcOffsetMinutes), c.lastIso);
        // A range of UTC instants holds the readings in it, both ends included.
        std::int64_t series = store->series(c.station).at(0).id;
        EXPECT_EQ(store->records(series, *station->lastUtc, *station->lastUtc).size(), 1u);
        EXPECT_EQ(store->records(series, *station->firstUtc, *station->lastUtc).size(), 2u);
        EXPECT_EQ(store->records(series, *station->lastUtc + 1, kAllTime).size(), 0u);
    }
}

TEST_P(RecordStore, KeepsEachCollectionOncePerAnnouncement) {
    CollectionFinished failed;
    failed.origin = CollectionOrigin::Reservation;
    failed.station = 6;
    failed.stationName = "河辺";
    failed.unit = 2;
    failed.port = 2;
    failed.started = {2026, 12, 8, 10, 31, 0};
    failed.finished = {2026, 12, 8, 10, 32, 5};
    failed.result = -2;
    failed.message = "回収できませんでした";
    CollectionFinished stored = failed;
    stored.started = stored.finished = {2026, 12, 8, 11, 31, 0};
    stored.result = 0;
    stored.message.clear();
    stored.dataFile = "/data/KAWABE2_261208_1131.v38";
    stored.csvFile = "/data/KAWABE2_261208_1131.csv";
    stored.bytesReceived = 4096;
    stored.blocksReceived = 4;
    stored.retries = 1;
    stored.clearSent = stored.clearAnswered = true;

    store->recordCollection(failed, "station-pc", "event-1");
    store->recordCollection(failed, "station-pc", "event-1");  // the queue worked off twice
    store->recordCollection(stored, "office-pc", "event-2");
    std::vector<store::CollectionRow> rows = store->collections(0);
    ASSERT_EQ(rows.size(), 2u);
    const store::CollectionRow& first = rows[0];
    EXPECT_EQ(first.machine, "station-pc");
    EXPECT_EQ(first.origin, "reservation");
    EXPECT_EQ(first.stationIndex, 6);
    EXPECT_EQ(first.stationName, "河辺");
    EXPECT_EQ(first.station, "");
    EXPECT_EQ(first.unit, 2);
    EXPECT_EQ(first.started, "2026-12-08 10:31:00");
    EXPECT_EQ(first.finishedUtc - first.startedUtc, 65);
    EXPECT_EQ(first.result, -2);
    EXPECT_EQ(first.message, "回収できませんでした");
    const store::CollectionRow& second = rows[1];
    EXPECT_EQ(second.station, "KAWABE2");
    EXPECT_EQ(second.dataFile, stored.dataFile);
    EXPECT_EQ(second.csvFile, stored.csvFile);
    EXPECT_EQ(second.bytes, 4096);
    EXPECT_EQ(second.blocks, 4);
    EXPECT_EQ(second.retries, 1);
    EXPECT_TRUE(second.clearSent && second.clearAnswered);
    EXPECT_EQ(store->collections(second.startedUtc).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordStore, FENTA21_STORE_ENGINES);

}  // namespace
}  // namespace fenta21::test
