#include "core/base/Files.h"
#include "core/plot/DataFileSeries.h"
#include "core/plot/store/StationSeries.h"
#include "sim/image/DataImage.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace fenta21::plot {
namespace {

// The same records plot the same from the record store as from their data file, over the
// whole station and over any stretch of it, in the station's own clock.
TEST(StationSeries, AStationPlotsAsTheFileItWasImportedFrom) {
    test::TempHome home;
    sim::ParsedRecipe recipe =
        sim::parseImageRecipe(test::readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/plot/wind_station.recipe"));
    ASSERT_EQ(recipe.error, "");
    const std::string image = sim::buildDataImage(recipe.recipe);
    const std::string file = home.file("KAWABE_260408_0000.v38");
    ASSERT_TRUE(writeFileAtomically(file, image));
    ModelRegistry models(FENTA21_CONFIG_DIR);
    models.loadModelTable();
    std::unique_ptr<store::RecordStore> records = store::openRecordStore("records.sqlite", home.path());
    store::ImportOptions options;
    options.utcOffsetMinutes = -210;  // a station west of Greenwich, on the half hour
    options.identifyModel = identifyThrough(models);
    records->importFile(file, options);

    const SourceSeries fromFile = readDataFileSeries(image, "KAWABE", identifyThrough(models));
    const std::int64_t first = fromFile.series[0].summary.samples().times.front();
    struct RangeRow {
        const char* legend;
        std::optional<std::int64_t> from;
        std::optional<std::int64_t> to;
    };
    const RangeRow rows[] = {
        {"the whole station", std::nullopt, std::nullopt},
        {"a day across the gap, between records", first + 3 * 86400 + 30, first + 4 * 86400 + 30},
        {"from a record on", first + 6 * 86400, std::nullopt},
        {"before the first record", std::nullopt, first - 1},
    };
    for (const RangeRow& row : rows) {
        SourceSeries fromStore = readStationSeries(*records, StationChoice{"KAWABE", {}, row.from, row.to});
        ASSERT_EQ(fromStore.problem, "") << row.legend;
        ASSERT_EQ(fromStore.series.size(), fromFile.series.size()) << row.legend;
        for (std::size_t i = 0; i < fromFile.series.size(); ++i) {
            const PlotSeries& want = fromFile.series[i];
            const PlotSeries& got = fromStore.series[i];
            EXPECT_EQ(got.info.name, want.info.name) << row.legend;
            EXPECT_EQ(got.info.unit, want.info.unit) << row.legend;
            EXPECT_EQ(got.info.type, want.info.type) << row.legend;
            EXPECT_EQ(got.info.channel, want.info.channel) << row.legend;
            EXPECT_EQ(got.info.kind, want.info.kind) << row.legend;
            if (got.summary.size() > 0) {
                EXPECT_EQ(got.info.decimals, want.info.decimals) << want.info.name;
            }
            IndexRange range = want.summary.indexRange(row.from ? double(*row.from) : -1e18, row.to ? double(*row.to) : 1e18);
            const Samples& s = want.summary.samples();
            EXPECT_EQ(got.summary.samples().times,
                      std::vector<std::int64_t>(s.times.begin() + range.begin, s.times.begin() + range.end))
                << row.legend << " " << want.info.name;
            EXPECT_EQ(got.summary.samples().values,
                      std::vector<double>(s.values.begin() + range.begin, s.values.begin() + range.end))
                << row.legend << " " << want.info.name;
        }
    }
    EXPECT_NE(readStationSeries(*records, StationChoice{"YAMADA", {}, {}, {}}).problem, "");
}

}  // namespace
}  // namespace fenta21::plot
