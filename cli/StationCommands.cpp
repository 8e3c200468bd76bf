// The remote stations from the command line: the address book, one station, the arbitrary
// list and the reservation scheduler.
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/StoredFiles.h"
#include "core/app/Session.h"
#include "core/base/Results.h"
#include "core/collect/CollectStation.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ArbitraryRun.h"
#include "core/remote/Scheduler.h"
#include "core/remote/StationList.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace fenta21::cli {
namespace {

bool noArguments(CommandContext& context, const char* command) {
    if (context.args.empty()) return true;
    std::fprintf(stderr, "fenta21-cli %s: unexpected argument %s\n", command, context.args.front().c_str());
    return false;
}

int runStations(CommandContext& context) {
    if (!noArguments(context, "stations")) return kExitUsage;
    const AddressBook& book = context.session.addressBook;
    for (int index = 0; index < kStationCount; ++index) {
        if (!book.hasName(index)) continue;
        auto row = stationRow(book, index);
        for (std::size_t column = 0; column < row.size(); ++column)
            std::printf("%s%s", column ? "\t" : "", row[column].c_str());
        std::printf("\n");
    }
    return kExitOk;
}

int runStation(CommandContext& context) {
    char* end = nullptr;
    long number = context.args.size() == 1 ? std::strtol(context.args[0].c_str(), &end, 10) : 0;
    if (context.args.size() != 1 || *end != '\0' || number < 1 || number > kStationCount) {
        std::fprintf(stderr, "fenta21-cli station: give one address-book number from 1 to 100\n");
        return kExitUsage;
    }
    int station = static_cast<int>(number) - 1;
    if (!context.session.addressBook.hasName(station)) {
        std::fprintf(stderr, "fenta21-cli station: entry %ld of the address book is empty\n", number);
        return kExitFailed;
    }
    StoredFiles files(context.session);
    return collectionExitStatus({collectStation(context.session, station)}, files);
}

int runList(CommandContext& context) {
    if (!noArguments(context, "list")) return kExitUsage;
    Session& session = context.session;
    ArbitraryList list = loadArbitraryList(session.homeFile("any.dat"));
    StoredFiles files(session);
    if (list.size() == 0) {
        std::fprintf(stderr, "fenta21-cli list: the arbitrary list (any.dat) is empty\n");
        return kExitFailed;
    }
    auto run = runArbitraryList(session, list.stations(), [&](int row) {
        int station = list.stations()[static_cast<std::size_t>(row)];
        std::fprintf(stderr, "-- %s %s\n", stationNumberText(station).c_str(),
                     session.addressBook.station(station).name.c_str());
    });
    if (run.cancelled) return kExitFailed;
    return collectionExitStatus(run.results, files);
}

int runSchedule(CommandContext& context) {
    if (!noArguments(context, "schedule")) return kExitUsage;
    Session& session = context.session;
    // The first signal ends the scheduler between collections, never in the middle of one; a
    // second cancels the collection in progress, which releases the line, and ends it then.
    CliHost::stopOnFirstSignal();

    StoredFiles files(session);
    ReservationScheduler scheduler(session);
    session.reservationRunning.store(true);
    scheduler.resume();
    std::fprintf(stderr, "fenta21-cli schedule: running (Ctrl+C stops it after the collection in progress; "
                         "a second Ctrl+C cancels that collection)\n");
    while (CliHost::stopSignal() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    session.reservationRunning.store(false);
    if (scheduler.workerAlive()) std::fprintf(stderr, "fenta21-cli schedule: stopping after the collection in progress\n");
    scheduler.waitForWorker();
    std::fprintf(stderr, "fenta21-cli schedule: stopped\n");
    return kExitOk;
}

}  // namespace

const CommandInfo kStationsCommand{
    "stations", "stations",
    "Prints the address book (adr.csv): one line for each entry that has a name, with its number,\n"
    "name, telephone, remark, file name, folder and connection method, separated by tabs.\n",
    &runStations,
};

const CommandInfo kStationCommand{
    "station", "station N",
    "Collects the new records of address-book entry N (1-100): dials it through the modem of\n"
    "the modem settings (or finds it on the direct line when its method is \"com\"), collects\n"
    "from each unit its telephone field lists, and hangs up. The paths of the files written are\n"
    "printed as collect prints them: each data file, then its CSV file when the conversion wrote\n"
    "it whole (when it did not, stderr says why). Ctrl+C, SIGTERM or SIGHUP cancels as in collect.\n"
    "Exit status: 0 collected, 3 a data file stored but its CSV file not, 4 nothing new, 1 any\n"
    "other failure, 2 usage error; 130, 143 or 129 cancelled by SIGINT, SIGTERM or SIGHUP.\n",
    &runStation,
};

const CommandInfo kListCommand{
    "list", "list",
    "Collects the stations of the arbitrary list (any.dat) one after another, as \"任意回収\"\n"
    "does; entries without a name are skipped, and a cancel (Ctrl+C, SIGTERM or SIGHUP) ends the\n"
    "run. The paths of the files written are printed as collect prints them.\n"
    "Exit status: 0 all collected, 1 any failure, else 3 a data file stored but its CSV file not,\n"
    "else 4 some had nothing new; 2 usage error; 130, 143 or 129 cancelled by SIGINT, SIGTERM or\n"
    "SIGHUP.\n",
    &runList,
};

const CommandInfo kScheduleCommand{
    "schedule", "schedule",
    "Runs the reservation scheduler in the foreground: the reservations of rsv.dat are collected\n"
    "at their minutes, with every message going to RSV.LOG; the paths of the files written are\n"
    "printed as collect prints them. Ctrl+C, SIGTERM or SIGHUP ends it between collections (exit\n"
    "status 0); a second one cancels the collection in progress, releases the line and ends it at\n"
    "once (130, 143 or 129, after the signal). rsvflg.dat is left as it is.\n",
    &runSchedule,
};

}  // namespace fenta21::cli
