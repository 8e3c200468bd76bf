#include "core/remote/Scheduler.h"

#include "core/session/Session.h"
#include "core/remote/CollectStation.h"
#include "core/remote/ReservationFlag.h"
#include "core/remote/SharedListsWatch.h"

#include <chrono>
#include <optional>

namespace fenta21 {

using namespace std::chrono_literals;

ReservationScheduler::ReservationScheduler(Session& session)
    : collectStation([&session](int station) { return fenta21::collectStation(session, station, CollectionOrigin::Reservation); }),
      session_(session) {}

ReservationScheduler::~ReservationScheduler() {
    session_.reservationRunning.store(false);
    waitForWorker();
}

bool ReservationScheduler::switchOn() {
    session_.reservationRunning.store(true);
    if (!startWorker()) {
        session_.reservationRunning.store(false);
        return false;
    }
    storeReservationFlag(session_, true);
    return true;
}

void ReservationScheduler::switchOff() {
    session_.reservationRunning.store(false);
    storeReservationFlag(session_, false);
}

bool ReservationScheduler::resume() {
    if (!session_.reservationRunning.load()) return true;
    if (startWorker()) return true;
    session_.reservationRunning.store(false);
    return false;
}

std::optional<SchedulerHolder> ReservationScheduler::otherScheduler() const {
    std::lock_guard lock(mutex_);
    return refusedBy_;
}

bool ReservationScheduler::startWorker() {
    std::unique_lock lock(mutex_);
    if (alive_) return true;  // the running worker sees the flag and carries on
    if (worker_.joinable()) worker_.join();
    SchedulerHolder holder;
    claim_ = SchedulerClaim::take(session_.homeFolder(), holder);
    if (!claim_) {
        refusedBy_ = holder;
        return false;
    }
    refusedBy_.reset();
    alive_ = true;
    worker_ = std::thread([this] { work(); });
    return true;
}

bool ReservationScheduler::keepRunning() {
    std::lock_guard lock(mutex_);
    if (session_.reservationRunning.load()) return true;
    alive_ = false;
    claim_.reset();
    ended_.notify_all();
    return false;
}

void ReservationScheduler::waitForWorker() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return !alive_; });
    if (worker_.joinable()) worker_.join();
}

bool ReservationScheduler::workerAlive() const {
    std::lock_guard lock(mutex_);
    return alive_;
}

namespace {

CalendarTime minuteOf(CalendarTime time) {
    time.second = 0;
    return time;
}

}  // namespace

void ReservationScheduler::work() {
    session_.events.publish(SchedulerRunningChanged{true});
    // The minute already dealt with: run, passed during a collection, or under way when the
    // scheduler was switched on. Every other minute is looked at as soon as the worker wakes
    // in it, so a collection that ends just before a reserved minute cannot make the worker
    // look too late; and a minute is never looked at twice.
    CalendarTime now = session_.sampleClock();
    std::optional<CalendarTime> handled;
    if (now.second > 1) handled = minuteOf(now);
    SharedListsWatch files;
    for (;;) {
        session_.clock.sleepFor(950ms);
        if (!keepRunning()) break;
        if (files.refresh(session_)) session_.events.publish(SharedListsReread{});
        // The worker samples the clock itself, so a busy window can never make it miss its
        // minute.
        now = session_.sampleClock();
        if (handled == minuteOf(now)) continue;
        handled = minuteOf(now);
        auto due = session_.reservations.findDue(now);
        if (!due) continue;
        int station = due->reservation.station;
        session_.reports.currentStation.store(station);
        session_.events.publish(ReservationStarted{static_cast<int>(due->row), station, now});
        session_.reports.reservedCollectionMode.store(true);
        int result = collectStation(station);
        session_.reports.reservedCollectionMode.store(false);
        CalendarTime ended = session_.sampleClock();
        session_.events.publish(ReservationFinished{static_cast<int>(due->row), station, result, ended});
        // A minute that began while the collection ran is not caught up.
        handled = minuteOf(ended);
        session_.clock.sleepFor(2000ms);
    }
    session_.events.publish(SchedulerRunningChanged{false});
}

}  // namespace fenta21
