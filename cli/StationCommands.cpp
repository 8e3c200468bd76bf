// The remote stations from the command line: the address book, one station, the arbitrary
// list and the reservation scheduler.
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "core/app/Session.h"
#include "core/base/Results.h"
#include "core/collect/CollectResult.h"
#include "core/collect/CollectStation.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ArbitraryRun.h"
#include "core/remote/Scheduler.h"
#include "core/remote/StationList.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace fenta21::cli {
namespace {

constexpr int kExitNothingNew = 4;

// The exit status of collections, as for one: 0 all collected, 4 none failed but some had
// nothing new, 1 any failure.
int exitStatusOf(const std::vector<int>& results) {
    bool nothingNew = false;
    for (int result : results) {
        if (result == kCollectNothingNew) nothingNew = true;
        else if (result != kCollectOk) return kExitFailed;
    }
    return nothingNew ? kExitNothingNew : kExitOk;
}

void printStoredFiles(Session& session) {
    session.fileStored = [](const std::string& path) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    };
}

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
    printStoredFiles(context.session);
    return exitStatusOf({collectStation(context.session, station)});
}

int runList(CommandContext& context) {
    if (!noArguments(context, "list")) return kExitUsage;
    Session& session = context.session;
    ArbitraryList list = loadArbitraryList(session.homeFile("any.dat"));
    printStoredFiles(session);
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
    return exitStatusOf(run.results);
}

std::atomic<bool> stopRequested{false};

extern "C" void onStopSignal(int) { stopRequested.store(true); }

int runSchedule(CommandContext& context) {
    if (!noArguments(context, "schedule")) return kExitUsage;
    Session& session = context.session;
    // Ctrl+C and SIGTERM end the scheduler between collections, never in the middle of one.
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    printStoredFiles(session);
    ReservationScheduler scheduler(session);
    session.reservationRunning.store(true);
    scheduler.resume();
    std::fprintf(stderr, "fenta21-cli schedule: running (Ctrl+C stops it after the collection in progress)\n");
    while (!stopRequested.load()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    session.reservationRunning.store(false);
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
    "from each unit its telephone field lists, and hangs up. The data file paths are printed.\n"
    "Exit status: 0 collected, 4 nothing new, 1 any other failure, 2 usage error.\n",
    &runStation,
};

const CommandInfo kListCommand{
    "list", "list",
    "Collects the stations of the arbitrary list (any.dat) one after another, as \"任意回収\"\n"
    "does; entries without a name are skipped, and a cancel (Ctrl+C) ends the run.\n"
    "Exit status: 0 all collected, 4 none failed but some had nothing new, 1 otherwise.\n",
    &runList,
};

const CommandInfo kScheduleCommand{
    "schedule", "schedule",
    "Runs the reservation scheduler in the foreground: the reservations of rsv.dat are collected\n"
    "at their minutes, with every message going to RSV.LOG. Ctrl+C or SIGTERM ends it between\n"
    "collections. rsvflg.dat is left as it is.\n",
    &runSchedule,
};

}  // namespace fenta21::cli
