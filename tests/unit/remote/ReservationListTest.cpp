// The reservation window's list editing: every change reaches rsv.dat and the table together.
#include "core/session/Session.h"
#include "core/stations/AddressBook.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationList.h"
#include "core/stations/ReservationTable.h"
#include "tests/support/BlockedSave.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Reservations : public ::testing::Test {
protected:
    Reservations() : session(home.path(), host, clock), list(session, book, table) {
        book.store(0, {"KAWABE", "0123"});
        book.store(1, {"SEKI", "0456"});
        book.store(2, {"", "0789"});
    }

    // What the scheduler would scan and what the next start would load must be the same.
    void expectFileAndTable(const std::vector<Reservation>& expected) {
        EXPECT_EQ(table.snapshot(), expected);
        EXPECT_EQ(loadReservations(home.file("rsv.dat")), expected);
        EXPECT_EQ(list.rows(), expected);
    }

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session;
    AddressBook book;
    ReservationTable table;
    ReservationList list;
};

TEST_F(Reservations, AddAppendsForANamedStationAndSaves) {
    EXPECT_EQ(list.add(0, {0, 0, 30}), ReservationEdit::Done);
    EXPECT_EQ(list.add(1, {12, 8, 0}), ReservationEdit::Done);
    expectFileAndTable({{{0, 0, 30}, 0}, {{12, 8, 0}, 1}});
    EXPECT_EQ(list.add(2, {0, 0, 0}), ReservationEdit::Refused);   // empty entry
    EXPECT_EQ(list.add(-1, {0, 0, 0}), ReservationEdit::Refused);  // no station chosen
    EXPECT_EQ(list.add(0, {32, 0, 0}), ReservationEdit::Refused);
    EXPECT_EQ(list.add(0, {0, 25, 0}), ReservationEdit::Refused);
    EXPECT_EQ(list.add(0, {0, 0, 60}), ReservationEdit::Refused);
    expectFileAndTable({{{0, 0, 30}, 0}, {{12, 8, 0}, 1}});
}

TEST_F(Reservations, InsertGoesBeforeTheSelectedRow) {
    EXPECT_EQ(list.insertBefore(0, 0, {}), ReservationEdit::Refused);  // no row to select
    list.add(0, {0, 0, 1});
    list.add(0, {0, 0, 2});
    EXPECT_EQ(list.insertBefore(1, 1, {3, 4, 5}), ReservationEdit::Done);
    EXPECT_EQ(list.insertBefore(3, 1, {}), ReservationEdit::Refused);
    EXPECT_EQ(list.insertBefore(0, 2, {}), ReservationEdit::Refused);
    expectFileAndTable({{{0, 0, 1}, 0}, {{3, 4, 5}, 1}, {{0, 0, 2}, 0}});
}

TEST_F(Reservations, EditTimeKeepsPositionAndStation) {
    list.add(0, {0, 0, 1});
    list.add(1, {0, 0, 2});
    list.add(0, {0, 0, 3});
    EXPECT_EQ(list.editTime(1, {31, 24, 59}), ReservationEdit::Done);
    expectFileAndTable({{{0, 0, 1}, 0}, {{31, 24, 59}, 1}, {{0, 0, 3}, 0}});
    EXPECT_EQ(list.editTime(3, {}), ReservationEdit::Refused);
    EXPECT_EQ(list.editTime(0, {-1, 0, 0}), ReservationEdit::Refused);
    // A station emptied after it was reserved keeps its row and can still be retimed.
    book.erase(1);
    EXPECT_EQ(list.editTime(1, {1, 1, 1}), ReservationEdit::Done);
    EXPECT_EQ(table.snapshot()[1], (Reservation{{1, 1, 1}, 1}));
}

TEST_F(Reservations, DeleteAndDeleteAllSave) {
    list.add(0, {0, 0, 1});
    list.add(1, {0, 0, 2});
    EXPECT_EQ(list.remove(2), ReservationEdit::Refused);
    EXPECT_EQ(list.remove(0), ReservationEdit::Done);
    expectFileAndTable({{{0, 0, 2}, 1}});
    EXPECT_EQ(list.clear(), ReservationEdit::Done);
    expectFileAndTable({});
    EXPECT_TRUE(home.exists("rsv.dat"));
    EXPECT_THAT(host.reports(), IsEmpty());
}

TEST_F(Reservations, AListThatCannotBeWrittenChangesNeitherFileNorTable) {
    list.add(0, {0, 0, 1});
    std::string before = home.read("rsv.dat");
    blockSaving(home, "rsv.dat");

    EXPECT_EQ(list.add(1, {0, 0, 2}), ReservationEdit::NotSaved);
    EXPECT_EQ(list.editTime(0, {5, 5, 5}), ReservationEdit::NotSaved);
    EXPECT_EQ(list.remove(0), ReservationEdit::NotSaved);
    EXPECT_EQ(list.clear(), ReservationEdit::NotSaved);
    EXPECT_EQ(home.read("rsv.dat"), before);
    EXPECT_EQ(table.snapshot(), (std::vector<Reservation>{{{0, 0, 1}, 0}}));
    EXPECT_THAT(host.reports(), ElementsAre(kReservationsNotSavedText, kReservationsNotSavedText,
                                            kReservationsNotSavedText, kReservationsNotSavedText));
}

}  // namespace
}  // namespace fenta21::test
