// Reservations: rsv.dat, the scheduler's matching rule, the row and time dialog texts, and
// rsvflg.dat.
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/base/Bytes.h"
#include "core/stations/AddressBook.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationFlag.h"
#include "core/remote/ReservationRows.h"
#include "core/stations/ReservationTable.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string record(int day, int hourCode, int minute, int station) {
    std::string bytes;
    for (int value : {day, hourCode, minute, station}) appendInt32LE(bytes, value);
    return bytes;
}

TEST(RsvDat, RecordsAreSixteenLittleEndianBytesInListOrder) {
    std::vector<Reservation> list = {{{0, 0, 30}, 4}, {{31, 24, 59}, 99}};
    std::string bytes = formatReservations(list);
    EXPECT_EQ(bytes, record(0, 0, 30, 4) + record(31, 24, 59, 99));
    EXPECT_EQ(bytes.substr(16, 4), std::string("\x1f\0\0\0", 4));
    EXPECT_EQ(parseReservations(bytes), list);
}

TEST(RsvDat, TimesOutOfRangeAreKeptAndShownButNeverRunAndUnknownStationsAreLeftOut) {
    std::string bytes = record(1, 1, 0, 0) + record(-1, 0, 0, 0) + record(32, 0, 0, 1) + record(0, -1, 0, 2) +
                        record(0, 25, 0, 3) + record(0, 0, -1, 4) + record(0, 0, 60, 5) + record(0, 0, 0, -1) +
                        record(0, 0, 0, 100) + record(2, 3, 4, 5) + record(0, INT32_MIN, 0, 6) + std::string(15, '\x01');
    std::vector<Reservation> read = parseReservations(bytes);
    EXPECT_EQ(read, (std::vector<Reservation>{{{1, 1, 0}, 0}, {{-1, 0, 0}, 0}, {{32, 0, 0}, 1}, {{0, -1, 0}, 2},
                                              {{0, 25, 0}, 3}, {{0, 0, -1}, 4}, {{0, 0, 60}, 5}, {{2, 3, 4}, 5},
                                              {{0, INT32_MIN, 0}, 6}}));
    // Saving the list gives the file back as it was, less the records without a station.
    EXPECT_EQ(formatReservations(read), bytes.substr(0, 7 * 16) + bytes.substr(9 * 16, 2 * 16));

    AddressBook book;
    EXPECT_EQ(reservationRow(read[2], book)[0], "  32");
    EXPECT_EQ(reservationRow(read[3], book)[1], "  -2");
    EXPECT_EQ(reservationRow(read[4], book)[1], "  24");
    EXPECT_EQ(reservationRow(read[6], book)[2], "  60");
    EXPECT_EQ(reservationRow(read[8], book)[1], "  -2147483649");

    // Every day, every hour: each out-of-range time would otherwise come close to matching.
    for (int day = 1; day <= 31; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int minute : {0, 59}) {
                auto due = findDueReservation({read.begin() + 1, read.end() - 2}, day, hour, minute);
                EXPECT_FALSE(due) << day << " " << hour << ":" << minute;
            }
}

TEST(RsvDat, MissingFileGivesAnEmptyTableAndSavedListsReadBack) {
    TempHome home;
    ReservationTable table;
    table.replace({{{0, 0, 0}, 1}});
    loadReservations(home.file("rsv.dat"), table);
    EXPECT_THAT(table.snapshot(), IsEmpty());

    std::vector<Reservation> list = {{{5, 10, 15}, 20}, {{0, 0, 0}, 0}};
    ASSERT_TRUE(saveReservations(home.file("rsv.dat"), list));
    EXPECT_EQ(home.read("rsv.dat").size(), 32u);
    loadReservations(home.file("rsv.dat"), table);
    EXPECT_EQ(table.snapshot(), list);
}

TEST(ReservationMatch, WantedDayHourAndMinute) {
    const std::vector<Reservation> everyHourAt30 = {{{0, 0, 30}, 7}};
    struct Row {
        const char* legend;
        std::vector<Reservation> table;
        int day, hour, minute;
        std::optional<std::size_t> row;
    } rows[] = {
        {"every day and hour, minute 30", everyHourAt30, 8, 9, 30, 0},
        {"... at another hour", everyHourAt30, 8, 23, 30, 0},
        {"... at another day", everyHourAt30, 1, 0, 30, 0},
        {"... not at minute 29", everyHourAt30, 8, 9, 29, std::nullopt},
        {"hour code 1 is hour 0", {{{0, 1, 0}, 0}}, 3, 0, 0, 0},
        {"hour code 1 is not hour 1", {{{0, 1, 0}, 0}}, 3, 1, 0, std::nullopt},
        {"hour code 24 is hour 23", {{{0, 24, 59}, 0}}, 3, 23, 59, 0},
        {"day 15 runs on the 15th", {{{15, 0, 0}, 0}}, 15, 4, 0, 0},
        {"day 15 not on the 16th", {{{15, 0, 0}, 0}}, 16, 4, 0, std::nullopt},
        {"day and hour fixed", {{{15, 13, 45}, 0}}, 15, 12, 45, 0},
        {"two in one minute: the upper", {{{0, 0, 5}, 1}, {{0, 0, 5}, 2}}, 9, 9, 5, 0},
        {"the first that matches", {{{0, 0, 4}, 1}, {{0, 0, 5}, 2}, {{0, 0, 5}, 3}}, 9, 9, 5, 1},
        {"empty table", {}, 9, 9, 5, std::nullopt},
    };
    for (const Row& row : rows) {
        auto due = findDueReservation(row.table, row.day, row.hour, row.minute);
        ASSERT_EQ(due.has_value(), row.row.has_value()) << row.legend;
        if (!due) continue;
        EXPECT_EQ(due->row, *row.row) << row.legend;
        EXPECT_EQ(due->reservation, row.table[*row.row]) << row.legend;
    }
}

TEST(ReservationMatch, Day31NeverRunsInAThirtyDayMonth) {
    ReservationTable table;
    table.replace({{{31, 0, 0}, 0}});
    for (int day = 1; day <= 30; ++day)
        for (int hour = 0; hour < 24; ++hour) EXPECT_FALSE(table.findDue(day, hour, 0)) << day << ' ' << hour;
    EXPECT_TRUE(table.findDue(CalendarTime{2026, 12, 31, 5, 0, 1}));
}

TEST(ReservationTable, AScanNeverSeesHalfAReplacedTable) {
    // Two tables the writer switches between: every record of one has the same station, so a
    // scan that mixed them would find a record of the other station first.
    std::vector<Reservation> allOne(50, Reservation{{0, 0, 7}, 1});
    std::vector<Reservation> allTwo(80, Reservation{{0, 0, 7}, 2});
    allTwo.back().time.minute = 8;
    ReservationTable table;
    table.replace(allOne);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) table.replace(i % 2 ? allOne : allTwo);
        stop = true;
    });
    int scans = 0;
    bool whole = true;
    // At least one scan, even when the writer is done before this thread gets going.
    do {
        auto snapshot = table.snapshot();
        int station = snapshot.size() == 50 ? 1 : 2;
        whole = snapshot.size() == 50 || snapshot.size() == 80;
        for (const Reservation& r : snapshot) whole = whole && r.station == station;
        auto due = table.findDue(1, 1, 8);
        whole = whole && (!due || (due->row == 79 && due->reservation.station == 2));
        ++scans;
    } while (!stop && whole);
    writer.join();
    EXPECT_TRUE(whole);
    EXPECT_GT(scans, 0);
}

TEST(ReservationRows, TimeColumnsThenTheStation) {
    AddressBook book;
    book.store(11, {"河辺", "0123", "r", "KW", "", "modem"});
    EXPECT_THAT(reservationRow({{0, 0, 30}, 11}, book),
                ElementsAre("毎日", "毎時", "  30", "012", "河辺", "0123", "r", "KW", "", "modem"));
    EXPECT_THAT(reservationRow({{5, 1, 0}, 11}, book),
                ElementsAre("   5", "  00", "  00", "012", "河辺", "0123", "r", "KW", "", "modem"));
    EXPECT_THAT(reservationRow({{31, 24, 9}, 0}, book),
                ElementsAre("  31", "  23", "  09", "001", "", "", "", "", "", ""));
    EXPECT_STREQ(reservationColumns()[0].heading, " 日 ");
    EXPECT_EQ(reservationColumns()[2].widthPixels, 42);
    EXPECT_STREQ(reservationColumns()[3].heading, "No.");
}

TEST(ReservationRows, TimeDialogEntriesArePositionedByValue) {
    ASSERT_EQ(dayChoices().size(), 32u);
    EXPECT_EQ(dayChoices()[0], " 毎日");
    EXPECT_EQ(dayChoices()[1], " 1");
    EXPECT_EQ(dayChoices()[31], " 31");
    ASSERT_EQ(hourChoices().size(), 25u);
    EXPECT_EQ(hourChoices()[0], " 毎時");
    EXPECT_EQ(hourChoices()[1], " 00");   // hour code 1 is hour 0
    EXPECT_EQ(hourChoices()[24], " 23");
    ASSERT_EQ(minuteChoices().size(), 60u);
    EXPECT_EQ(minuteChoices()[0], " 00");
    EXPECT_EQ(minuteChoices()[59], " 59");
}

TEST(RsvFlgDat, OnAndOffSurviveARestart) {
    TempHome home;
    EXPECT_FALSE(readReservationFlag(home.file("rsvflg.dat")));  // never switched: off
    ASSERT_TRUE(writeReservationFlag(home.file("rsvflg.dat"), true));
    EXPECT_EQ(home.read("rsvflg.dat"), std::string("\x01\x00", 2));
    EXPECT_TRUE(readReservationFlag(home.file("rsvflg.dat")));
    ASSERT_TRUE(writeReservationFlag(home.file("rsvflg.dat"), false));
    EXPECT_EQ(home.read("rsvflg.dat"), std::string("\x00\x00", 2));
    EXPECT_FALSE(readReservationFlag(home.file("rsvflg.dat")));
    EXPECT_FALSE(writeReservationFlag(home.file("missing/rsvflg.dat"), true));
}

TEST(RsvFlgDat, AFlagThatCannotBeWrittenIsReported) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session written(home.path(), host, clock);
    EXPECT_TRUE(storeReservationFlag(written, true));
    EXPECT_THAT(host.reports(), IsEmpty());
    Session gone(home.root() + "/gone", host, clock);
    EXPECT_FALSE(storeReservationFlag(gone, true));
    EXPECT_THAT(host.reports(), ElementsAre(kReservationFlagNotSavedText));
}

}  // namespace
}  // namespace fenta21::test
