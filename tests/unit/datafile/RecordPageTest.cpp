#include "core/datafile/DataFileMessages.h"
#include "core/datafile/RecordPage.h"
#include "sim/image/DataImage.h"
#include "sim/image/RecordBytes.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

sim::ImageRecipe recipeWithRecords(int records) {
    sim::ImageRecipe recipe;
    recipe.instants = records;
    recipe.intervalSeconds = 1;
    recipe.channels = {{3, 20, 53, 1}};
    return recipe;
}

TEST(RecordPage, RowsShowOffsetBytesAndDecodedFields) {
    sim::ImageRecipe recipe = recipeWithRecords(2);
    recipe.startMarkers = 1;
    recipe.damaged = {{1, 0}};
    recipe.trailingRecords = {sim::encodeRecord({2026, 4, 1, 0, 0, 2}, 255, 5, -1)};
    RecordPage page = readRecordPage(sim::buildDataImage(recipe), 0);
    EXPECT_TRUE(page.messages.empty());
    EXPECT_TRUE(page.isLastPage);
    ASSERT_EQ(page.rows.size(), 4u);
    EXPECT_EQ(page.rows[0].offsetText, "000280");
    EXPECT_EQ(page.rows[0].hex, "000000007F000000");
    EXPECT_EQ(page.rows[0].decoded, "") << "the start marker is no record";
    EXPECT_EQ(page.rows[1].offsetText, "000288");
    EXPECT_EQ(page.rows[1].hex, "3481000014033500");
    EXPECT_EQ(page.rows[1].decoded, "26/04/01,00:00:00,  3, 20,    53");
    EXPECT_EQ(page.rows[2].decoded, "") << "a damaged record shows only its bytes";
    EXPECT_EQ(page.rows[3].decoded, "26/04/01,00:00:02,255,  5,    -1");
}

struct PagingRow {
    const char* legend;
    int records;
    int page;
    std::size_t rows;
    bool last;
};

TEST(RecordPage, PagesHold2048RecordsAndKnowTheirEnd) {
    const PagingRow rows[] = {
        {"fewer than a page", 10, 0, 10, true},
        {"exactly a page: not yet known to be the last", 2048, 0, 2048, false},
        {"the empty page after an exact page is the last", 2048, 1, 0, true},
        {"one more than a page", 2049, 1, 1, true},
        {"far beyond the end", 10, 5, 0, true},
    };
    for (const PagingRow& row : rows) {
        RecordPage page = readRecordPage(sim::buildDataImage(recipeWithRecords(row.records)), row.page);
        EXPECT_EQ(page.rows.size(), row.rows) << row.legend;
        EXPECT_EQ(page.isLastPage, row.last) << row.legend;
        EXPECT_TRUE(page.messages.empty()) << row.legend;
        if (row.page == 1 && row.rows > 0) {
            EXPECT_EQ(page.rows[0].offset, 640u + 2048u * 8u) << row.legend;
        }
    }
}

TEST(RecordPage, ShortFilesEndWithTheMessage) {
    sim::ImageRecipe recipe = recipeWithRecords(3);
    recipe.endOffset = 0x100000;  // far past the end of the 1024-byte file
    RecordPage page = readRecordPage(sim::buildDataImage(recipe), 0);
    EXPECT_EQ(page.rows.size(), (1024u - 640u) / 8u) << "the rows up to the end of the file stay";
    EXPECT_EQ(page.messages, std::vector<std::string>{kRecordReadAbortedMessage});
    EXPECT_TRUE(page.isLastPage);

    EXPECT_EQ(readRecordPage(std::string(9, '\0'), 0).messages, std::vector<std::string>{kRecordReadAbortedMessage});
    EXPECT_EQ(readRecordPageOfFile("/nonexistent/x.v38", 0).messages, std::vector<std::string>{kRecordReadAbortedMessage});

    recipe.endOffset = 100;  // before the start: an empty area
    EXPECT_TRUE(readRecordPage(sim::buildDataImage(recipe), 0).rows.empty());
}

TEST(RecordPaging, ButtonsFollowThePageAndTheKnownEnd) {
    RecordPaging paging;
    EXPECT_FALSE(paging.canGoBack());
    EXPECT_TRUE(paging.canGoForward()) << "the last page is not known yet";
    paging.forward();
    RecordPage shown;
    shown.page = 1;
    shown.isLastPage = true;
    paging.noteShown(shown);
    EXPECT_EQ(paging.lastPage(), 1);
    EXPECT_TRUE(paging.canGoBack());
    EXPECT_FALSE(paging.canGoForward());
    paging.forward();
    EXPECT_EQ(paging.page(), 1);
    paging.back();
    EXPECT_EQ(paging.page(), 0);
    EXPECT_TRUE(paging.canGoForward()) << "the last page is the next one";
    paging.reset();
    EXPECT_EQ(paging.lastPage(), RecordPaging::kLastPageUnknown);
}

}  // namespace
}  // namespace fenta21
