// The merges of what this program holds with a home file another program changed since it
// read it: base (what it last read or wrote), mine (what it wants now), theirs (the file now).
#include "core/session/Session.h"
#include "core/session/SettingsStore.h"
#include "core/app/Startup.h"
#include "core/session/SystemSettings.h"
#include "core/base/ThreeWayMerge.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationList.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace fenta21::test {
namespace {

using ::testing::IsEmpty;

struct ListMerge {
    const char* legend;
    std::vector<int> base, mine, theirs, merged;
};

const ListMerge kListMerges[] = {
    {"unchanged file: an added row at the end", {1, 2}, {1, 2, 3}, {1, 2}, {1, 2, 3}},
    {"unchanged file: a row put at the top", {1, 2}, {3, 1, 2}, {1, 2}, {3, 1, 2}},
    {"unchanged file: an insert, a removal and an edit", {1, 2, 3, 4}, {1, 5, 3, 6}, {1, 2, 3, 4}, {1, 5, 3, 6}},
    {"unchanged file: all removed", {1, 2, 2}, {}, {1, 2, 2}, {}},
    {"unchanged file: a repeated row added", {2, 1, 2}, {2, 2, 1, 2}, {2, 1, 2}, {2, 2, 1, 2}},
    {"an add beside their add", {1}, {1, 2}, {1, 3}, {1, 2, 3}},
    {"an insert beside their add", {1, 2}, {1, 5, 2}, {1, 2, 3}, {1, 5, 2, 3}},
    {"a removal beside their add", {1, 2}, {1}, {1, 2, 3}, {1, 3}},
    {"an edit beside their add", {1, 2, 3}, {1, 7, 3}, {1, 2, 3, 4}, {1, 7, 3, 4}},
    {"an insert above the row they removed", {1, 2}, {5, 1, 2}, {2}, {5, 2}},
    {"a row both removed is gone once", {1, 2, 3}, {1, 3}, {1, 3}, {1, 3}},
    {"one of a repeated row removed", {1, 1, 2}, {1, 2}, {1, 1, 2, 3}, {1, 2, 3}},
    {"a row both changed keeps both new rows", {1, 2}, {1, 7}, {1, 8}, {1, 7, 8}},
    {"nothing left in common: the added row at the end", {1}, {2}, {3}, {3, 2}},
};

// any.dat holds station places, rsv.dat reservations: the same table runs on both, a number
// standing for one place or one reservation.
Reservation reservationOf(int n) { return {{n % 32, 0, n % 60}, n % kStationCount}; }
std::vector<Reservation> reservationsOf(const std::vector<int>& numbers) {
    std::vector<Reservation> out;
    for (int n : numbers) out.push_back(reservationOf(n));
    return out;
}

TEST(HomeFileMerges, ListsKeepEveryRowAddedOrRemovedOnEitherSide) {
    for (const ListMerge& row : kListMerges) {
        EXPECT_EQ(mergeOrderedList(row.base, row.mine, row.theirs), row.merged) << "any.dat: " << row.legend;
        EXPECT_EQ(mergeOrderedList(reservationsOf(row.base), reservationsOf(row.mine), reservationsOf(row.theirs)),
                  reservationsOf(row.merged))
            << "rsv.dat: " << row.legend;
    }
}

TEST(HomeFileMerges, LongListsRewrittenOnBothSidesStillKeepEveryChange) {
    // Beyond the rows aligned one by one: the rows of each side are still all there.
    std::vector<int> base(4000), mine, theirs;
    for (int i = 0; i < 4000; ++i) base[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < 4000; ++i) mine.push_back(i % 2 == 0 ? i : 10000 + i);
    for (int i = 0; i < 4000; ++i) theirs.push_back(i % 3 == 0 ? i : 20000 + i);
    std::vector<int> merged = mergeOrderedList(base, mine, theirs);
    for (int i = 0; i < 4000; ++i) {
        bool mineKept = i % 2 == 0, theirsKept = i % 3 == 0;
        EXPECT_EQ(std::count(merged.begin(), merged.end(), i), mineKept && theirsKept ? 1 : 0) << i;
        EXPECT_EQ(std::count(merged.begin(), merged.end(), 10000 + i), mineKept ? 0 : 1) << i;
        EXPECT_EQ(std::count(merged.begin(), merged.end(), 20000 + i), theirsKept ? 0 : 1) << i;
    }
}

struct PlaceMerge {
    const char* legend;
    std::vector<std::string> base, mine, theirs, merged;  // the names of places 0-2
};

std::vector<Station> placesNamed(const std::vector<std::string>& names) {
    std::vector<Station> places(kStationCount);
    for (std::size_t i = 0; i < names.size(); ++i) places[i] = {names[i], "0311112222", "", "", "", "modem"};
    return places;
}

TEST(HomeFileMerges, AddressBookPlacesAreMineWhereIChangedThemAndTheFilesElsewhere) {
    const PlaceMerge rows[] = {
        {"unchanged file", {"A", "B", ""}, {"A2", "", "C"}, {"A", "B", ""}, {"A2", "", "C"}},
        {"their change of another place is kept", {"A", "B", ""}, {"A2", "B", ""}, {"A", "B", "C3"}, {"A2", "B", "C3"}},
        {"the same place: mine wins", {"A", "B", ""}, {"A2", "B", ""}, {"A3", "", ""}, {"A2", "", ""}},
        {"a place they emptied stays empty", {"A", "B", ""}, {"A", "B", "C2"}, {"", "B", ""}, {"", "B", "C2"}},
    };
    for (const PlaceMerge& row : rows) {
        const std::vector<Station> merged = placesNamed(row.merged);
        EXPECT_EQ(mergeByPlace(placesNamed(row.base), placesNamed(row.mine), placesNamed(row.theirs)), merged)
            << row.legend;
        // The book taking in the file (as the scheduler does) merges the same way and keeps
        // the file's table as the one stored.
        AddressBook book;
        book.replaceAll(placesNamed(row.base));
        const std::vector<Station> mine = placesNamed(row.mine);
        for (int place = 0; place < 3; ++place) book.store(place, mine[static_cast<std::size_t>(place)]);
        book.takeFromFile(placesNamed(row.theirs));
        EXPECT_EQ(book.stations(), merged) << row.legend;
        EXPECT_EQ(book.storedStations(), placesNamed(row.theirs)) << row.legend;
    }
}

TEST(HomeFileMerges, SettingsFieldsAreMineWhereIChangedThemAndTheFilesElsewhere) {
    SystemSettings base{1, 0, "../data", 2, 0, 0, "KAWABE", 7};
    auto with = [&](const std::function<void(SystemSettings&)>& change) {
        SystemSettings changed = base;
        change(changed);
        return changed;
    };
    const struct {
        const char* legend;
        SystemSettings mine, theirs, merged;
    } rows[] = {
        {"unchanged file", with([](auto& s) { s.directPortIndex = 3; }), base, with([](auto& s) { s.directPortIndex = 3; })},
        {"their change of another field is kept", with([](auto& s) { s.directPortIndex = 3; }),
         with([](auto& s) { s.modemSpeedIndex = 9; }), with([](auto& s) { s.directPortIndex = 3, s.modemSpeedIndex = 9; })},
        {"the same field: mine wins", with([](auto& s) { s.dataFolder = "/srv/a"; }),
         with([](auto& s) { s.dataFolder = "/srv/b"; }), with([](auto& s) { s.dataFolder = "/srv/a"; })},
        {"the two texts apart", with([](auto& s) { s.dataFileName = "SEKI"; }),
         with([](auto& s) { s.dataFolder = "/srv/b"; }), with([](auto& s) { s.dataFileName = "SEKI", s.dataFolder = "/srv/b"; })},
    };
    for (const auto& row : rows) EXPECT_EQ(mergeSettings(base, row.mine, row.theirs), row.merged) << row.legend;
}

// The program's store functions on a session whose files another program changed after the
// session read them: the file and the program's copy both end as the merge.
TEST(HomeFileMerges, AStoreKeepsAnotherProgramsChangeAndTheProgramShowsWhatIsStored) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    AddressBook ourBook;
    ourBook.replaceAll(placesNamed({"A", "B"}));
    saveAddressBook(home.file("adr.csv"), ourBook);
    saveReservations(home.file("rsv.dat"), reservationsOf({1, 2}));
    saveArbitraryList(home.file("any.dat"), ArbitraryList({1, 2}));
    saveSettings(home.file("system.dat"), SystemSettings{});
    Session session(home.path(), host, clock);
    startUpFrame(session);
    ArbitraryList list = loadArbitraryList(home.file("any.dat"));

    // Another program's changes.
    AddressBook theirBook;
    theirBook.replaceAll(placesNamed({"A", "B", "C"}));
    saveAddressBook(home.file("adr.csv"), theirBook);
    saveReservations(home.file("rsv.dat"), reservationsOf({1, 2, 3}));
    saveArbitraryList(home.file("any.dat"), ArbitraryList({1, 2, 3}));
    SystemSettings theirSettings;
    theirSettings.modemSpeedIndex = 9;
    saveSettings(home.file("system.dat"), theirSettings);

    // This program's.
    session.addressBook.store(0, placesNamed({"A2"})[0]);
    EXPECT_TRUE(storeAddressBook(session, session.addressBook));
    EXPECT_EQ(session.addressBook.stations(), placesNamed({"A2", "B", "C"}));
    AddressBook stored;
    loadAddressBook(home.file("adr.csv"), stored);
    EXPECT_EQ(stored.stations(), session.addressBook.stations());

    ReservationList reservations(session, session.addressBook, session.reservations);
    EXPECT_EQ(reservations.remove(0), ReservationEdit::Done);
    EXPECT_EQ(session.reservations.snapshot(), reservationsOf({2, 3}));
    EXPECT_EQ(loadReservations(home.file("rsv.dat")), reservationsOf({2, 3}));

    list.add(session.addressBook, 0);
    EXPECT_TRUE(storeArbitraryList(session, list));
    EXPECT_EQ(list.stations(), (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(loadArbitraryList(home.file("any.dat")).stations(), list.stations());

    SystemSettings changed = session.settings;
    changed.dialMethod = 1;
    EXPECT_EQ(storeSettings(session, changed), SettingsChange::Stored);
    SystemSettings expected;
    expected.modemSpeedIndex = 9;
    expected.dialMethod = 1;
    EXPECT_EQ(session.settings, expected);
    SystemSettings onDisk;
    loadSettings(home.file("system.dat"), onDisk);
    EXPECT_EQ(onDisk, expected);
    EXPECT_THAT(host.reports(), IsEmpty());
}

}  // namespace
}  // namespace fenta21::test
