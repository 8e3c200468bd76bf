#pragma once

#include "core/events/EventHub.h"
#include "core/health/CollectionAttempt.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fenta21 {

class AddressBook;
class Clock;
class ReservationTable;

// Keeps the health of the stations a program collects, for as long as it lives: it hears
// every collection announced on the program's hub, and once a minute looks whether a station
// has become late. Each time it folds what it heard into the home's ledger (health.state)
// under the home's lock, rewrites the metrics file the settings name, and runs the alert
// command of each station whose state changed since it was last announced, by whichever
// program on the home. All of that happens on a thread of its own: a slow or hanging command
// never holds a collection, the scheduler or the other listeners.
class HealthMonitor {
public:
    // What it takes of the program: its hub, clock and home, and the lists it collects by, read
    // again each time the states are weighed. They must outlive the monitor.
    HealthMonitor(EventHub& events, const Clock& clock, std::string homeFolder, const AddressBook& addressBook,
                  const ReservationTable& reservations);
    // Weighs what was announced until then and runs its alerts before it ends.
    ~HealthMonitor();
    HealthMonitor(const HealthMonitor&) = delete;
    HealthMonitor& operator=(const HealthMonitor&) = delete;

    // Waits until every collection announced so far was weighed and its alerts have run.
    void settle();

    // How often the states are looked at without a collection (on the program's clock).
    static constexpr std::chrono::seconds kLookAgain{60};

private:
    void heard(const CollectionFinished& collection);
    void work();
    void weigh(const std::vector<CollectionAttempt>& attempts, bool firstLook);
    // Writes a problem to ERR.LOG once for as long as this monitor lives.
    void tellOnce(const std::string& problem);
    void logProblem(const std::string& problem);

    EventHub& events_;
    const Clock& clock_;
    const std::string homeFolder_;
    const AddressBook& addressBook_;
    const ReservationTable& reservations_;
    const std::string machine_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<CollectionAttempt> pending_;
    bool busy_ = true;  // the first look is under way from the start
    bool stopping_ = false;
    std::set<std::string> told_;  // only the worker thread uses it
    std::thread worker_;
    EventHub::Subscription subscription_;  // last: it ends before what it writes to
};

}  // namespace fenta21
