// ERR.LOG and RSV.LOG, byte for byte.
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/report/FixedLog.h"
#include "core/report/Logs.h"
#include "core/report/Report.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;

class Logs : public ::testing::Test {
protected:
    Logs() : session(home.path(), host, clock) { clock.setLocalTime({2026, 12, 8, 9, 5, 7}); }

    std::string errLog() { return home.read("ERR.LOG"); }
    // A log whose count line says the next entry goes to line `next`.
    void seedLog(const std::string& name, const std::string& header, int next) {
        std::string start = header;
        start.resize(kCountLineOffset, '\0');
        home.write(name, start + formatCountLine({2026, 1, 1, 0, 0, 0}, next));
    }

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session;
};

TEST_F(Logs, FirstErrorCreatesHeaderCountLineAndEntryAt44) {
    logError(session, "COM CreateFile ERROR(2)");
    std::string expected = "TORVINE    0001 TRW \r\n"
                           "20261208 090507 0003\r\n"
                           "2026/12/08 09:05:07 COM CreateFile ERROR(2)" + std::string(44 - 23, ' ') + "\r\n";
    EXPECT_EQ(errLog(), expected);
    EXPECT_EQ(expected.size(), 44u + 66u);
}

TEST_F(Logs, LongMessagesTakeContinuationLinesAndLoseWhatIsBeyond236) {
    std::string fifty(50, 'a');
    logError(session, fifty);
    std::string log = errLog();
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0004\r\n");  // two lines: count advanced by 2
    EXPECT_EQ(log.substr(44 + 20, 44), std::string(44, 'a'));
    EXPECT_EQ(log.substr(110, 66), std::string(6, 'a') + std::string(58, ' ') + "\r\n");

    std::string three00;
    for (int i = 0; i < 300; ++i) three00.push_back(static_cast<char>('0' + i % 10));
    logError(session, three00);
    log = errLog();
    ASSERT_EQ(log.size(), 44u + 6u * 66u);
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0008\r\n");
    EXPECT_EQ(log.substr(176 + 20, 44), three00.substr(0, 44));   // line 4 (n x 66 - 88)
    EXPECT_EQ(log.substr(242, 64), three00.substr(44, 64));
    EXPECT_EQ(log.substr(308, 64), three00.substr(108, 64));
    EXPECT_EQ(log.substr(374, 64), three00.substr(172, 64));      // ends at character 236
}

TEST_F(Logs, CutsNeverSplitADoubleByteCharacter) {
    // 43 single bytes, then カ: its two bytes would straddle the 44-byte cut.
    logError(session, std::string(43, 'x') + "カ");
    std::string log = errLog();
    EXPECT_EQ(log.substr(44 + 20, 44), std::string(43, 'x') + " ");
    EXPECT_EQ(log.substr(110, 2), utf8ToCp932("カ"));
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0004\r\n");
}

TEST_F(Logs, ErrorLogRingRestartsAtLine2After30000Lines) {
    seedLog("ERR.LOG", "TORVINE    0001 TRW \r\n", 30002);
    logError(session, "after the ring");
    std::string log = errLog();
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0003\r\n");
    EXPECT_EQ(log.substr(44 + 20, 14), "after the ring");
    // One line before the ring wraps: the entry still goes at its own offset.
    seedLog("ERR.LOG", "TORVINE    0001 TRW \r\n", 30001);
    logError(session, "last before the ring");
    log = errLog();
    EXPECT_EQ(log.size(), static_cast<std::size_t>(30001 * 66 - 88 + 66));
    EXPECT_EQ(log.substr(30001 * 66 - 88 + 20, 20), "last before the ring");
}

TEST_F(Logs, CountLineStaysTwentyTwoBytesFrom10000On) {
    seedLog("ERR.LOG", "TORVINE    0001 TRW \r\n", 9999);
    logError(session, "line 9999");
    std::string log = errLog();
    EXPECT_EQ(log.substr(22, 22), "20261208 0905 10000 \r\n");
    EXPECT_EQ(log.substr(0, 22), "TORVINE    0001 TRW \r\n");
    logError(session, "line 10000");
    log = errLog();
    EXPECT_EQ(log.substr(22, 22), "20261208 0905 10001 \r\n");
    EXPECT_EQ(log.substr(10000 * 66 - 88 + 20, 10), "line 10000");
    EXPECT_EQ(log.substr(9999 * 66 - 88 + 20, 9), "line 9999");
}

// Count lines as the program writes them and as the Windows version wrote them from line
// 10000 on (23 bytes, its CR LF running into the first entry): the number is read to the line
// end, and the count line is written back in the 22-byte form.
TEST_F(Logs, CountLineNumberIsReadWhateverItsWidth) {
    struct Row {
        const char* legend;
        std::string countLine;
        int next;
    } rows[] = {
        {"four digits", "20260101 000000 0042\r\n", 42},
        {"own five-digit form", "20260101 0000 12345 \r\n", 12345},
        {"carried over, five digits", "20260101 000000 12345\r\n", 12345},
        {"carried over, LF alone", "20260101 000000 23456\n", 23456},
    };
    for (const Row& row : rows) {
        std::string start = "TORVINE    0001 TRW \r\n";
        home.write("ERR.LOG", start + row.countLine);
        logError(session, "entry");
        std::string log = errLog();
        ASSERT_EQ(log.size(), static_cast<std::size_t>(row.next * 66 - 88 + 66)) << row.legend;
        EXPECT_EQ(log.substr(row.next * 66 - 88, 26), "2026/12/08 09:05:07 entry ") << row.legend;
        EXPECT_EQ(log.substr(22, 22), formatCountLine({2026, 12, 8, 9, 5, 7}, row.next + 1)) << row.legend;
    }
}

// A log file that exists but is empty (or holds less than its header) gets the header.
TEST_F(Logs, EmptyExistingLogGetsItsHeader) {
    home.write("ERR.LOG", "");
    home.write("RSV.LOG", "FENTA");
    logError(session, "first");
    logReservation(session, "first");
    EXPECT_EQ(errLog().substr(0, 44), "TORVINE    0001 TRW \r\n20261208 090507 0003\r\n");
    EXPECT_EQ(home.read("RSV.LOG").substr(0, 44), std::string("FENTA21 RSV   LOG \r\n\0\0", 22) + "20261208 090507 0003\r\n");
    EXPECT_EQ(home.read("RSV.LOG").size(), 44u + 130u);
}

// A disk that fills up while an entry is written leaves the log as it was: no half line, and
// no count pointing past lines that never came, which would leave a gap of zero bytes before
// the next entry. Room for nothing, for part of a line, and for the first line of two.
TEST_F(Logs, AnEntryTheDiskHasNoRoomForLeavesTheLogAsItWas) {
    for (std::size_t room : {0, 30, 100}) {
        logError(session, "before");
        std::string before = errLog();
        {
            FileSizeLimit full(before.size() + room);
            ASSERT_TRUE(full.active());
            logError(session, std::string(50, 'x'));
        }
        EXPECT_EQ(errLog(), before) << room;
        logError(session, "after");
        std::string log = errLog();
        ASSERT_EQ(log.size(), before.size() + 66) << room;
        EXPECT_EQ(log.substr(before.size(), 25), "2026/12/08 09:05:07 after") << room;
    }
}

TEST_F(Logs, ReservationLogRingRestartsAtLine2After30000Lines) {
    seedLog("RSV.LOG", "FENTA21 RSV   LOG \r\n", 30002);
    logReservation(session, "after the ring");
    std::string log = home.read("RSV.LOG");
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0003\r\n");
    EXPECT_EQ(log.substr(44, 34), "2026/12/08 09:05:07 after the ring");
    EXPECT_EQ(log.size(), 44u + 130u);
}

TEST_F(Logs, DamagedCountLineNeverOverwritesOlderEntries) {
    logError(session, "first");
    logError(session, "second");
    std::string log = errLog();
    log.replace(22, 20, std::string(20, '#'));
    home.write("ERR.LOG", log);
    logError(session, "third");
    log = errLog();
    EXPECT_EQ(log.substr(44 + 20, 5), "first");
    EXPECT_EQ(log.substr(110 + 20, 6), "second");
    EXPECT_EQ(log.substr(176 + 20, 5), "third");
}

TEST_F(Logs, NewReservationLogHasZeroBytesAt20And21And130ByteEntries) {
    logReservation(session, "[001 KAWABE] 正常終了");
    std::string log = home.read("RSV.LOG");
    ASSERT_EQ(log.size(), 44u + 130u);
    EXPECT_EQ(log.substr(0, 20), "FENTA21 RSV   LOG \r\n");
    EXPECT_EQ(log[20], '\0');
    EXPECT_EQ(log[21], '\0');
    EXPECT_EQ(log.substr(22, 22), "20261208 090507 0003\r\n");
    std::string message = utf8ToCp932("[001 KAWABE] 正常終了");
    EXPECT_EQ(log.substr(64, 108), message + std::string(108 - message.size(), ' '));
    logReservation(session, std::string(200, 'r'));  // cut at 108, no continuation
    log = home.read("RSV.LOG");
    ASSERT_EQ(log.size(), 44u + 260u);
    EXPECT_EQ(log.substr(130 + 44 + 20, 110), std::string(108, 'r') + "\r\n");
}

TEST_F(Logs, ShowErrorLogsAndShowsOnceAndGuardsASecondBox) {
    showError(session, "通信ポート使用不可 !!   ");
    EXPECT_THAT(host.reports(), ElementsAre("通信ポート使用不可 !!   "));
    EXPECT_NE(errLog().find(utf8ToCp932("D]通信ポート使用不可")), std::string::npos);

    session.reports.errorDisplayed.store(true);  // a box is open
    showError(session, "second");
    EXPECT_EQ(host.reports().size(), 1u);
    std::string log = errLog();
    EXPECT_NE(log.find(utf8ToCp932("err_dispの２重発行")), std::string::npos);
    EXPECT_NE(log.find(" second "), std::string::npos);
}

TEST_F(Logs, ReportDuringReservedCollectionGoesToTheReservationLogAndNotice) {
    session.reports.reservedCollectionMode.store(true);
    session.reports.currentStation.store(4);
    session.reports.stationLabel = [](int index) { return StationLabel{index + 1, "KAWABE"}; };
    report(session, "コマンド応答　受信タイムアウト");
    EXPECT_TRUE(host.reports().empty());
    EXPECT_FALSE(home.exists("ERR.LOG"));
    EXPECT_THAT(session.reports.reservationNotices.get(), ElementsAre("[005 KAWABE] コマンド応答　受信タイムアウト"));
    EXPECT_TRUE(session.reports.noticeChanged.load());
    EXPECT_NE(home.read("RSV.LOG").find(utf8ToCp932("[005 KAWABE] コマンド応答")), std::string::npos);
}

}  // namespace
}  // namespace fenta21::test
