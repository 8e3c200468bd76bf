// adr.csv: reading, writing and the row texts of the station list.
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/collect/FileNaming.h"
#include "core/report/Report.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/session/AddressBookHooks.h"
#include "core/remote/StationList.h"
#include "tests/support/BlockedSave.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

std::string emptyBookFile() {
    std::string bytes;
    for (int i = 0; i < kStationCount; ++i) bytes += ",,,,,\r\n";
    return bytes;
}

TEST(AddressBookFile, ShortFileFillsTheFirstPlacesAndSavesAHundredLines) {
    TempHome home;
    home.write("adr.csv", "KAWABE,0123456789_1_2,river,KW,/srv/kw,modem\r\n"
                          "SEKI,0987\r\n");
    AddressBook book;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(book.station(0), (Station{"KAWABE", "0123456789_1_2", "river", "KW", "/srv/kw", "modem"}));
    // A name and a number only: the rest is empty and the station is dialled.
    EXPECT_EQ(book.station(1), (Station{"SEKI", "0987", "", "", "", ""}));
    EXPECT_FALSE(book.isDirect(1));
    for (int i = 2; i < kStationCount; ++i) EXPECT_FALSE(book.hasName(i)) << i;

    ASSERT_TRUE(saveAddressBook(home.file("adr.csv"), book));
    std::string saved = home.read("adr.csv");
    std::string expected = "KAWABE,0123456789_1_2,river,KW,/srv/kw,modem\r\nSEKI,0987,,,,\r\n";
    for (int i = 2; i < kStationCount; ++i) expected += ",,,,,\r\n";
    EXPECT_EQ(saved, expected);
}

TEST(AddressBookFile, EmptyTableIsAHundredLinesOfCommas) {
    TempHome home;
    AddressBook book;
    ASSERT_TRUE(saveAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(home.read("adr.csv"), emptyBookFile());
}

TEST(AddressBookFile, OnlyExactlyComIsADirectLink) {
    struct Row {
        const char* method;
        bool direct;
    } rows[] = {{"com", true}, {"com ", false}, {"COM", false}, {"modem", false}, {"", false}, {" com", false}};
    for (const Row& row : rows) {
        AddressBook book;
        book.replaceAll(parseAddressBook(std::string("A,1,,,,") + row.method + "\n"));
        EXPECT_EQ(book.isDirect(0), row.direct) << '"' << row.method << '"';
        EXPECT_EQ(book.station(0).method, row.method);
    }
}

TEST(AddressBookFile, LineEndsAndExtraFields) {
    struct Row {
        const char* legend;
        std::string bytes;
        Station first;
        Station second;
    } rows[] = {
        {"CR LF", "a,1\r\nb,2\r\n", {"a", "1"}, {"b", "2"}},
        {"LF only", "a,1\nb,2\n", {"a", "1"}, {"b", "2"}},
        {"no final line end", "a,1\nb,2", {"a", "1"}, {"b", "2"}},
        {"empty line keeps its place", "\nb,2\n", {}, {"b", "2"}},
        {"text after a sixth comma", "a,1,r,f,d,com,extra,more\n", {"a", "1", "r", "f", "d", "com"}, {}},
        {"a lone CR stays in the text", "a\rb,1\n", {"a\rb", "1"}, {}},
    };
    for (const Row& row : rows) {
        auto stations = parseAddressBook(row.bytes);
        ASSERT_EQ(stations.size(), 100u);
        EXPECT_EQ(stations[0], row.first) << row.legend;
        EXPECT_EQ(stations[1], row.second) << row.legend;
    }
}

TEST(AddressBookFile, LinesAfterTheHundredthAreIgnored) {
    std::string bytes;
    for (int i = 0; i < 105; ++i) bytes += "S" + std::to_string(i) + ",\n";
    auto stations = parseAddressBook(bytes);
    ASSERT_EQ(stations.size(), 100u);
    EXPECT_EQ(stations[99].name, "S99");
}

TEST(AddressBookFile, CodePage932NamesRoundTrip) {
    TempHome home;
    std::string line = utf8ToCp932("観測所ｶﾜﾍﾞ,0123,備考です,観測,../data/,modem") + "\r\n";
    home.write("adr.csv", line + "\r\n");
    AddressBook book;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(book.station(0).name, "観測所ｶﾜﾍﾞ");
    EXPECT_EQ(book.station(0).remark, "備考です");
    ASSERT_TRUE(saveAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(home.read("adr.csv").substr(0, line.size()), line);
}

TEST(AddressBookFile, LongFieldsAreCutAtTheFieldWithoutSplittingACharacter) {
    // 130 single bytes and then 観 (two bytes): the character does not fit in 131.
    std::string name = std::string(130, 'n') + utf8ToCp932("観");
    std::string remark(200, 'r');
    auto stations = parseAddressBook(name + ",1," + remark + ",f\n");
    EXPECT_EQ(stations[0].name, std::string(130, 'n'));
    EXPECT_EQ(stations[0].remark, std::string(131, 'r'));
    EXPECT_EQ(stations[0].fileName, "f");
}

TEST(AddressBookFile, OverlongFieldIsCutAndDoesNotShiftTheFieldsOrEntriesAfterIt) {
    std::string longRemark(600, 'x');
    auto stations = parseAddressBook("A,1," + longRemark + ",f,d,com\nB,2\n");
    EXPECT_EQ(stations[0], (Station{"A", "1", std::string(131, 'x'), "f", "d", "com"}));
    EXPECT_EQ(stations[1], (Station{"B", "2"}));
    EXPECT_FALSE(stations[2].hasName());
}

TEST(AddressBookFile, SixFullFieldsReadBackUnchanged) {
    TempHome home;
    AddressBook book;
    // 131 bytes each, with double-byte characters: a 791-byte line on disk.
    std::string full = utf8ToCp932("観測") + std::string(127, 'a');
    Station station{cp932ToUtf8(full), std::string(131, '1'), cp932ToUtf8(full), std::string(131, 'f'),
                    std::string(131, 'd'), std::string(131, 'm')};
    book.store(7, station);
    ASSERT_TRUE(saveAddressBook(home.file("adr.csv"), book));
    AddressBook reread;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), reread));
    EXPECT_EQ(reread.station(7), book.station(7));
    EXPECT_EQ(reread.station(7).folder, std::string(131, 'd'));
}

TEST(AddressBookFile, StoredCommasAndLineBreaksCannotShiftFields) {
    TempHome home;
    AddressBook book;
    book.store(0, {"Kawa,be", "01\r\n23", "a,b,c", "f", "", "com"});
    ASSERT_TRUE(saveAddressBook(home.file("adr.csv"), book));
    AddressBook reread;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), reread));
    EXPECT_EQ(reread.station(0), (Station{"Kawa，be", "01  23", "a，b，c", "f", "", "com"}));
    EXPECT_TRUE(reread.isDirect(0));
    EXPECT_EQ(reread.station(0), book.station(0));
    EXPECT_FALSE(reread.hasName(1));
}

TEST(AddressBookFile, MissingFileLeavesTheBookAsItWas) {
    TempHome home;
    AddressBook book;
    book.store(3, {"KEEP", "1"});
    EXPECT_FALSE(loadAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(book.station(3).name, "KEEP");
}

TEST(AddressBookFile, FailedSaveLeavesTheOldFileWholeAndIsReported) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path(), host, clock);
    home.write("adr.csv", "OLD,1\r\n");
    AddressBook book;
    book.store(0, {"NEW", "2"});
    blockSaving(home, "adr.csv");

    EXPECT_FALSE(storeAddressBook(session, book));
    EXPECT_EQ(home.read("adr.csv"), "OLD,1\r\n");
    EXPECT_THAT(host.reports(), ElementsAre(kAddressBookNotSavedText));
    EXPECT_EQ(book.station(0).name, "NEW");
}

TEST(AddressBook, DeleteEmptiesTheEntryAndItsDirectFlag) {
    AddressBook book;
    book.store(7, {"DIRECT", "", "", "", "", "com"});
    ASSERT_TRUE(book.isDirect(7));
    EXPECT_TRUE(book.erase(7));
    EXPECT_EQ(book.station(7), Station{});
    EXPECT_FALSE(book.isDirect(7));
}

TEST(AddressBook, PlacesOutsideTheBookReadEmptyAndRefuseChanges) {
    AddressBook book;
    for (int index : {-1, 100, 1000}) {
        EXPECT_FALSE(book.store(index, {"X"})) << index;
        EXPECT_FALSE(book.erase(index)) << index;
        EXPECT_EQ(book.station(index), Station{}) << index;
    }
}

TEST(StationList, RowsShowTheNumberAndTheSixStoredFields) {
    AddressBook book;
    book.store(0, {"観測所", "0123_1", "memo", "KW", "/srv/kw", "modem"});
    EXPECT_THAT(stationRow(book, 0), ElementsAre("001", "観測所", "0123_1", "memo", "KW", "/srv/kw", "modem"));
    EXPECT_THAT(stationRow(book, 99), ElementsAre("100", "", "", "", "", "", ""));
}

TEST(AddressBookHooks, CollectionTargetsAndReportTagsComeFromTheBook) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path(), host, clock);
    AddressBook book;
    book.store(4, {"河辺", "0123", "", "KAWABE", "/srv/kawabe", "modem"});
    attachAddressBook(session, book);

    CollectionTarget target = collectionTarget(session, 4);
    EXPECT_EQ(target.folderText, "/srv/kawabe");
    EXPECT_EQ(target.baseName, "KAWABE");
    session.reports.currentStation.store(4);
    EXPECT_EQ(stationTag(session), "[005 河辺] ");

    // Later edits are seen, and a place outside the book gives no name.
    book.store(4, {"関", "0123", "", "SEKI", "", "modem"});
    EXPECT_EQ(collectionTarget(session, 4).baseName, "SEKI");
    session.reports.currentStation.store(150);
    EXPECT_EQ(stationTag(session), "[151 ] ");
}

}  // namespace
}  // namespace fenta21::test
