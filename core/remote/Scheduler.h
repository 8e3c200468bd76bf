#pragma once

#include "core/remote/SchedulerClaim.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace fenta21 {

class Session;

// The reservation scheduler: while it is on, a worker compares the clock with the
// reservation table about once a second and runs the station collection of the first
// reservation due, with every message going to RSV.LOG and the notice instead of a box.
// Before each look it takes in what another program on the same home changed in rsv.dat and
// adr.csv (SharedListsWatch), so a reservation added by a script is collected in its minute.
// At most one worker exists: switching on while the last one is still finishing a
// collection keeps that one going instead of starting a second. The worker holds the home's
// scheduler claim while it runs, so that no other program's scheduler works the same home.
class ReservationScheduler {
public:
    explicit ReservationScheduler(Session& session);
    ~ReservationScheduler();  // switches off and waits for the worker
    ReservationScheduler(const ReservationScheduler&) = delete;
    ReservationScheduler& operator=(const ReservationScheduler&) = delete;

    // Switches on or off and records it in rsvflg.dat, as the window's start/stop button does.
    // Switching on is refused (false, nothing written, reservationRunning false) while another
    // program runs this home's reservations; otherScheduler() then names it.
    bool switchOn();
    void switchOff();
    // Starts the worker when reservationRunning says so (at start-up), without writing the
    // file. Refused as switchOn is, leaving rsvflg.dat as it is: the other program runs them.
    bool resume();
    // The program that held the home's claim when this scheduler was last refused.
    std::optional<SchedulerHolder> otherScheduler() const;
    // Waits until the worker has ended (after switchOff, between collections).
    void waitForWorker();
    bool workerAlive() const;

    // How a due reservation is collected: the station collection, unless a test puts
    // something else here before switching on.
    std::function<int(int station)> collectStation;

private:
    bool startWorker();
    void work();
    // True while the scheduler stays on; false ends the worker (decided under the lock, so
    // a switch-on at that moment starts a new worker instead of relying on this one).
    bool keepRunning();

    Session& session_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool alive_ = false;
    std::optional<SchedulerClaim> claim_;
    std::optional<SchedulerHolder> refusedBy_;
    std::thread worker_;
};

}  // namespace fenta21
