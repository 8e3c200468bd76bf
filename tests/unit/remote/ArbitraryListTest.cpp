// The arbitrary collection list: editing and any.dat.
#include "core/session/Session.h"
#include "core/base/Bytes.h"
#include "core/stations/AddressBook.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string indices(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) appendInt32LE(bytes, value);
    return bytes;
}

class Arbitrary : public ::testing::Test {
protected:
    Arbitrary() {
        book.store(0, {"KAWABE", "0123"});
        book.store(1, {"SEKI", "0456"});
        book.store(2, {"", "0789"});  // a number without a name is an empty entry
    }
    AddressBook book;
    ArbitraryList list;
};

TEST_F(Arbitrary, AddTakesOnlyNamedStations) {
    EXPECT_TRUE(list.add(book, 0));
    EXPECT_FALSE(list.add(book, 2));
    EXPECT_FALSE(list.add(book, 3));
    EXPECT_FALSE(list.add(book, -1));  // nothing selected
    EXPECT_FALSE(list.add(book, 100));
    EXPECT_TRUE(list.add(book, 0));    // the same station twice is collected twice
    EXPECT_THAT(list.stations(), ElementsAre(0, 0));
}

TEST_F(Arbitrary, InsertGoesBeforeTheSelectedRowAndNeedsOne) {
    EXPECT_FALSE(list.insertBefore(book, 0, 1));  // no rows to select yet
    list.add(book, 0);
    list.add(book, 0);
    EXPECT_TRUE(list.insertBefore(book, 1, 1));
    EXPECT_THAT(list.stations(), ElementsAre(0, 1, 0));
    EXPECT_FALSE(list.insertBefore(book, -1, 1));
    EXPECT_FALSE(list.insertBefore(book, 3, 1));  // below the last row
    EXPECT_FALSE(list.insertBefore(book, 0, 2));  // an empty station
    EXPECT_THAT(list.stations(), ElementsAre(0, 1, 0));
}

TEST_F(Arbitrary, DeleteAndDeleteAll) {
    list.add(book, 0);
    list.add(book, 1);
    EXPECT_FALSE(list.remove(2));
    EXPECT_FALSE(list.remove(-1));
    EXPECT_TRUE(list.remove(0));
    EXPECT_THAT(list.stations(), ElementsAre(1));
    list.add(book, 0);
    list.clear();
    EXPECT_THAT(list.stations(), IsEmpty());
}

TEST_F(Arbitrary, RowsFollowTheBookAndKeepEmptiedStations) {
    list.add(book, 1);
    EXPECT_THAT(list.row(book, 0), ElementsAre("002", "SEKI", "0456", "", "", "", ""));
    book.erase(1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_THAT(list.row(book, 0), ElementsAre("002", "", "", "", "", "", ""));
    EXPECT_THAT(list.row(book, 5), ElementsAre("", "", "", "", "", "", ""));
}

TEST(AnyDat, LayoutAndIndicesOutsideTheBook) {
    EXPECT_THAT(parseArbitraryList(indices({4, 99, 0, 4})).stations(), ElementsAre(4, 99, 0, 4));
    EXPECT_THAT(parseArbitraryList(indices({-1, 5, 100, 7, 0x7FFFFFFF})).stations(), ElementsAre(5, 7));
    // A trailing piece shorter than an index is left out.
    EXPECT_THAT(parseArbitraryList(indices({3}) + std::string("\x01\x00", 2)).stations(), ElementsAre(3));
    EXPECT_EQ(formatArbitraryList(ArbitraryList({1, 0, 99})), std::string("\x01\0\0\0\0\0\0\0\x63\0\0\0", 12));
}

TEST(AnyDat, SavedListReadsBackAndAnEmptyListWritesAnEmptyFile) {
    TempHome home;
    EXPECT_THAT(loadArbitraryList(home.file("any.dat")).stations(), IsEmpty());
    ASSERT_TRUE(saveArbitraryList(home.file("any.dat"), ArbitraryList({9, 3, 9})));
    EXPECT_THAT(loadArbitraryList(home.file("any.dat")).stations(), ElementsAre(9, 3, 9));
    ASSERT_TRUE(saveArbitraryList(home.file("any.dat"), ArbitraryList()));
    EXPECT_TRUE(home.exists("any.dat"));
    EXPECT_EQ(home.read("any.dat"), "");
}

TEST(AnyDat, AListThatCannotBeSavedIsReported) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path() + "/missing", host, clock);
    ArbitraryList list({1});
    EXPECT_FALSE(storeArbitraryList(session, list));
    EXPECT_THAT(host.reports(), ElementsAre(kArbitraryListNotSavedText));
}

}  // namespace
}  // namespace fenta21::test
