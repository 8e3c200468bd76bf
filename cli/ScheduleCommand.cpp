// fenta21-cli schedule: the reservation scheduler in the foreground, and its on/off state in
// rsvflg.dat, which the desktop program reads when it starts.
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/StoreReports.h"
#include "cli/StoredFiles.h"
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/health/HealthMonitor.h"
#include "core/remote/ReservationFlag.h"
#include "core/remote/Scheduler.h"

#include <chrono>
#include <optional>
#include <cstdio>
#include <thread>

namespace fenta21::cli {
namespace {

int runScheduler(Session& session) {
    // The first signal ends the scheduler between collections, never in the middle of one; a
    // second cancels the collection in progress, which releases the line, and ends it then.
    CliHost::stopOnFirstSignal();

    store::StoreImporter importer(session.events, session.homeFolder(), storeImportTeller());
    HealthMonitor health(session.events, session.clock, session.homeFolder(), session.addressBook, session.reservations);
    StoredFiles files(session);
    ReservationScheduler scheduler(session);
    session.reservationRunning.store(true);
    if (!scheduler.resume()) {
        std::optional<SchedulerHolder> other = scheduler.otherScheduler();
        std::fprintf(stderr,
                     "fenta21-cli schedule: the reservations of %s are run by %s already; one scheduler runs a "
                     "home folder at a time\n",
                     session.homeFolder().c_str(), schedulerHolderText(other.value_or(SchedulerHolder{})).c_str());
        return kExitHeldElsewhere;
    }
    std::fprintf(stderr, "fenta21-cli schedule: running (Ctrl+C stops it after the collection in progress; "
                         "a second Ctrl+C cancels that collection)\n");
    while (CliHost::stopSignal() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    session.reservationRunning.store(false);
    if (scheduler.workerAlive()) std::fprintf(stderr, "fenta21-cli schedule: stopping after the collection in progress\n");
    scheduler.waitForWorker();
    std::fprintf(stderr, "fenta21-cli schedule: stopped\n");
    return kExitOk;
}

void printState(bool on) {
    std::printf("%s\n", on ? "on" : "off");
    std::fflush(stdout);
}

int runSchedule(CommandContext& context) {
    Session& session = context.session;
    const auto& args = context.args;
    if (args.empty()) return runScheduler(session);
    const std::string& word = args[0];
    if (args.size() > 1 || (word != "on" && word != "off" && word != "status")) {
        std::fprintf(stderr, "fenta21-cli schedule: takes nothing, or one of on, off and status\n");
        return kExitUsage;
    }
    if (word == "status") {
        printState(readReservationFlag(session.homeFile(kReservationFlagFileName)));
        return kExitOk;
    }
    // As the window's start/stop button records it; this program's own scheduler is not
    // started or stopped by it.
    if (!storeReservationFlag(session, word == "on")) return kExitFailed;
    printState(word == "on");
    return kExitOk;
}

}  // namespace

const CommandInfo kScheduleCommand{
    "schedule", "schedule [on | off | status]",
    "Without arguments, runs the reservation scheduler in the foreground: the reservations of\n"
    "rsv.dat are collected at their minutes, with every message going to RSV.LOG; the paths of\n"
    "the files written are printed as collect prints them. Ctrl+C, SIGTERM or SIGHUP ends it\n"
    "between collections (exit status 0); a second one cancels the collection in progress,\n"
    "releases the line and ends it at once (130, 143 or 129, after the signal). rsvflg.dat is\n"
    "left as it is.\n\n"
    "  on | off   records in rsvflg.dat that the scheduler is on or off, as the \"予約回収\" window's\n"
    "             start and stop button does: the desktop program starts it when it starts with\n"
    "             \"on\". A scheduler running already is not started or stopped by it.\n"
    "  status     prints on or off, as rsvflg.dat says.\n\n"
    "Only one scheduler runs a home folder at a time (this program or the desktop program); a\n"
    "second is refused with the process id of the one that runs it.\n\n"
    "Exit status: 0 done, 1 rsvflg.dat could not be written (it stays as it was), 2 usage error,\n"
    "5 another program runs this home folder's reservations.\n",
    &runSchedule,
};

}  // namespace fenta21::cli
