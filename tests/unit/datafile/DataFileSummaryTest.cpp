// The brief account of a data file that the --json results give: the valid records of its
// record area counted, the first and the last one's time.
#include "core/datafile/DataFileSummary.h"
#include "sim/image/DataImage.h"
#include "tests/support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;

sim::ImageRecipe threeInstantsOfTwoChannels() {
    sim::ImageRecipe recipe;
    recipe.firstInstant = {2026, 4, 1, 23, 50, 0};
    recipe.intervalSeconds = 600;
    recipe.instants = 3;
    recipe.channels = {{0, 20, 35, 1, 0}, {1, 22, 80, 2, 0}};
    return recipe;
}

TEST(DataFileSummary, CountsTheValidRecordsOfTheAreaOnly) {
    struct Row {
        const char* legend;
        void (*change)(sim::ImageRecipe&);
        std::size_t records;
        const char* first;
        const char* last;
    } rows[] = {
        {"every record", [](sim::ImageRecipe&) {}, 6, "2026-04-01T23:50:00", "2026-04-02T00:10:00"},
        {"start markers in front are no records", [](sim::ImageRecipe& r) { r.startMarkers = 3; }, 6,
         "2026-04-01T23:50:00", "2026-04-02T00:10:00"},
        {"a damaged first instant: the next one is the first",
         [](sim::ImageRecipe& r) { r.damaged = {{0, 0}, {0, 1}}; }, 4, "2026-04-02T00:00:00", "2026-04-02T00:10:00"},
        {"a missing last instant", [](sim::ImageRecipe& r) { r.missing = {{2, 0}, {2, 1}}; }, 4,
         "2026-04-01T23:50:00", "2026-04-02T00:00:00"},
        // The never-written memory behind endOffset holds no records, nor what lies past it.
        {"the area ends before the records do", [](sim::ImageRecipe& r) { r.endOffset = sim::kHeaderAreaBytes + 16; },
         2, "2026-04-01T23:50:00", "2026-04-01T23:50:00"},
    };
    for (const Row& row : rows) {
        sim::ImageRecipe recipe = threeInstantsOfTwoChannels();
        row.change(recipe);
        DataFileSummary summary = summarizeDataFile(sim::buildDataImage(recipe));
        EXPECT_EQ(summary.problem, "") << row.legend;
        EXPECT_EQ(summary.recordCount, row.records) << row.legend;
        ASSERT_TRUE(summary.first && summary.last) << row.legend;
        EXPECT_EQ(recordTimeText(*summary.first), row.first) << row.legend;
        EXPECT_EQ(recordTimeText(*summary.last), row.last) << row.legend;
    }
}

TEST(DataFileSummary, AnEmptyAreaHasNoTimesAndOtherBytesSayWhy) {
    sim::ImageRecipe recipe = threeInstantsOfTwoChannels();
    recipe.instants = 0;
    DataFileSummary empty = summarizeDataFile(sim::buildDataImage(recipe));
    EXPECT_EQ(empty.recordCount, 0u);
    EXPECT_FALSE(empty.first || empty.last);

    EXPECT_THAT(summarizeDataFile("not a data file").problem, HasSubstr("too short for the header"));
    TempHome home;
    EXPECT_THAT(summarizeDataFileAt(home.file("missing.v38")).problem, ::testing::Not(::testing::IsEmpty()));
    EXPECT_EQ(summarizeDataFileAt(home.file("missing.v38")).recordCount, 0u);
}

}  // namespace
}  // namespace fenta21::test
