// The reservation scheduler on a settable calendar, with the collections recorded.
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/base/Cp932.h"
#include "core/collect/CollectResult.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationFlag.h"
#include "core/remote/Scheduler.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;

class Scheduler : public ::testing::Test {
protected:
    Scheduler() : session(home.path(), host, clock), scheduler(session) {
        session.addressBook.store(0, {"河辺", "0311112222", "", "KAWABE", "", "modem"});
        session.addressBook.store(1, {"山田", "0322223333", "", "YAMADA", "", "modem"});
        scheduler.collectStation = [this](int station) {
            std::unique_lock lock(mutex);
            runs.push_back({station, clock.localTime()});
            changed.notify_all();
            changed.wait(lock, [this] { return !holdCollections; });
            return kCollectOk;
        };
    }
    ~Scheduler() override {
        release();
        session.reservationRunning.store(false);
        scheduler.waitForWorker();
    }

    void at(int day, int hour, int minute, int second = 0, int month = 12) {
        clock.runFrom({2026, month, day, hour, minute, second});
    }
    // Waits (in real time) for the n-th collection, or long enough to be sure there is none.
    bool waitForRuns(std::size_t n) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 2s, [&] { return runs.size() >= n; });
    }
    void settle() { std::this_thread::sleep_for(clock.scaled(3s)); }
    std::vector<int> stations() {
        std::lock_guard lock(mutex);
        std::vector<int> out;
        for (auto& run : runs) out.push_back(run.first);
        return out;
    }
    void release() {
        std::lock_guard lock(mutex);
        holdCollections = false;
        changed.notify_all();
    }

    TempHome home;
    TestClock clock{0.05};
    ScriptedHost host;
    Session session;
    ReservationScheduler scheduler;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, CalendarTime>> runs;
    bool holdCollections = false;
};

TEST_F(Scheduler, EveryDayEveryHourAtMinute30RunsAtMinute30OfEveryHour) {
    session.reservations.replace({{{0, 0, 30}, 1}});
    at(8, 10, 29, 50);
    scheduler.switchOn();
    settle();
    EXPECT_TRUE(stations().empty());
    at(8, 10, 30, 0);
    ASSERT_TRUE(waitForRuns(1));
    at(8, 10, 31, 0);
    settle();
    at(9, 23, 30, 0);
    ASSERT_TRUE(waitForRuns(2));
    EXPECT_THAT(stations(), ElementsAre(1, 1));
}

TEST_F(Scheduler, OnlyTheFirstTwoSecondsOfTheMinuteCount) {
    session.reservations.replace({{{0, 0, 30}, 0}});
    at(8, 10, 30, 2);
    scheduler.switchOn();
    settle();
    EXPECT_TRUE(stations().empty());
}

TEST_F(Scheduler, Day31NeverRunsInAThirtyDayMonth) {
    session.reservations.replace({{{31, 0, 0}, 0}});
    scheduler.switchOn();
    for (int day = 29; day <= 30; ++day) {
        at(day, 12, 0, 0, 11);
        settle();
    }
    at(1, 12, 0, 0, 12);
    settle();
    EXPECT_TRUE(stations().empty());
    at(31, 12, 0, 0, 12);
    EXPECT_TRUE(waitForRuns(1));
}

TEST_F(Scheduler, TwoReservationsInOneMinuteRunOnlyTheUpper) {
    session.reservations.replace({{{0, 11, 5}, 1}, {{0, 11, 5}, 0}});
    at(8, 10, 5, 0);
    scheduler.switchOn();
    ASSERT_TRUE(waitForRuns(1));
    settle();
    EXPECT_THAT(stations(), ElementsAre(1));
}

TEST_F(Scheduler, AMinuteThatPassesDuringACollectionIsNotCaughtUp) {
    session.reservations.replace({{{0, 0, 30}, 0}, {{0, 0, 31}, 1}});
    holdCollections = true;
    at(8, 10, 30, 0);
    scheduler.switchOn();
    ASSERT_TRUE(waitForRuns(1));
    at(8, 10, 31, 0);
    settle();
    at(8, 10, 31, 5);
    release();
    settle();
    EXPECT_THAT(stations(), ElementsAre(0));
}

TEST_F(Scheduler, AMinuteThatBeginsJustAfterACollectionEndsStillRuns) {
    session.reservations.replace({{{0, 0, 30}, 0}, {{0, 0, 31}, 1}});
    holdCollections = true;
    at(8, 10, 30, 0);
    scheduler.switchOn();
    ASSERT_TRUE(waitForRuns(1));
    at(8, 10, 30, 59);
    std::this_thread::sleep_for(clock.scaled(600ms));  // the collection ends 0.4 s before 10:31
    release();
    ASSERT_TRUE(waitForRuns(2));
    EXPECT_THAT(stations(), ElementsAre(0, 1));
    std::lock_guard lock(mutex);
    EXPECT_EQ(runs[1].second.minute, 31);
}

TEST_F(Scheduler, AShortCollectionIsNotStartedAgainLaterInItsMinute) {
    session.reservations.replace({{{0, 0, 30}, 0}});
    at(8, 10, 30, 0);
    scheduler.switchOn();
    ASSERT_TRUE(waitForRuns(1));
    for (int i = 0; i < 5; ++i) settle();  // 15 s of the same minute
    EXPECT_THAT(stations(), ElementsAre(0));
}

TEST_F(Scheduler, SwitchingBackOnDuringACollectionNeverStartsASecondWorker) {
    session.reservations.replace({{{0, 0, 30}, 0}});
    holdCollections = true;
    at(8, 10, 30, 0);
    scheduler.switchOn();
    ASSERT_TRUE(waitForRuns(1));
    scheduler.switchOff();
    scheduler.switchOn();  // the worker is still inside its collection
    EXPECT_TRUE(scheduler.workerAlive());
    at(8, 10, 30, 1);  // the same minute again: a second worker would run it now
    settle();
    release();
    settle();
    EXPECT_THAT(stations(), ElementsAre(0));
    EXPECT_TRUE(scheduler.workerAlive());
}

TEST_F(Scheduler, AReservationAnotherProgramStoresWhileItRunsIsCollectedInItsMinute) {
    at(8, 10, 29, 50);
    scheduler.switchOn();
    settle();
    // A script or the desktop program on the same home adds a reservation to rsv.dat.
    saveReservations(home.file("rsv.dat"), {{{0, 0, 30}, 1}});
    at(8, 10, 30, 0);
    ASSERT_TRUE(waitForRuns(1));
    EXPECT_THAT(stations(), ElementsAre(1));
}

TEST_F(Scheduler, OnAndOffSurviveARestart) {
    scheduler.switchOn();
    TestClock otherClock;
    {
        Session restarted(home.path(), host, otherClock);
        startUp(restarted);
        EXPECT_TRUE(restarted.reservationRunning.load());
    }
    scheduler.switchOff();
    Session restarted(home.path(), host, otherClock);
    startUp(restarted);
    EXPECT_FALSE(restarted.reservationRunning.load());
}

TEST(SchedulerLogs, SuccessAndFailuresGoToTheReservationLogAndABusyLineIsNotRetried) {
    TempHome home;
    TestClock clock{0.05};
    ScriptedHost host;
    Session session(home.path(), host, clock);
    session.addressBook.store(2, {"河辺", "0311112222", "", "KAWABE", "", "modem"});
    session.reservations.replace({{{0, 0, 30}, 2}});
    // The line is held by something else: the reservation is refused and logged once.
    session.line.setState(LineState::Linked);
    ReservationScheduler scheduler(session);
    std::atomic<int> successes{0};
    clock.runFrom({2026, 12, 8, 10, 30, 0});
    scheduler.switchOn();
    for (int i = 0; i < 200 && !home.exists("RSV.LOG"); ++i) std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(clock.scaled(4s));
    std::string log = cp932ToUtf8(home.read("RSV.LOG"));
    EXPECT_NE(log.find("[003 河辺] すでに回線接続中です!!"), std::string::npos) << log;
    EXPECT_EQ(home.read("RSV.LOG").size(), 44u + 130u) << "logged once, not retried:\n" << log;
    EXPECT_TRUE(host.reports().empty());

    // A success is logged as such.
    session.reservationRunning.store(false);
    scheduler.waitForWorker();
    scheduler.collectStation = [&](int) {
        reportResult(session, kCollectOk);
        return kCollectOk;
    };
    clock.runFrom({2026, 12, 8, 11, 30, 0});
    scheduler.switchOn();
    for (int i = 0; i < 200 && home.read("RSV.LOG").size() < 44u + 260u; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_NE(cp932ToUtf8(home.read("RSV.LOG")).find("[003 河辺] 正常終了"), std::string::npos);
    EXPECT_FALSE(session.reports.reservedCollectionMode.load());
}

}  // namespace
}  // namespace fenta21::test
