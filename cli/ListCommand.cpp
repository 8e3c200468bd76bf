// fenta21-cli list: the arbitrary list (any.dat) without the "任意回収" window: collecting its
// stations, and editing it with the window's buttons.
#include "cli/CliHost.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/StationRows.h"
#include "cli/StoreReports.h"
#include "cli/StoredFiles.h"
#include "core/session/Session.h"
#include "core/health/HealthMonitor.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ArbitraryRun.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

// "任意回収": every row collected in turn, the files and messages of each kept with its row.
int collectList(CommandContext& context, JsonResult& json, const ArbitraryList& list) {
    Session& session = context.session;
    if (list.size() == 0) return json.refuse("the arbitrary list (any.dat) is empty", kExitFailed);
    store::StoreImporter importer(session.events, session.homeFolder(), storeImportTeller());
    HealthMonitor health(session.events, session.clock, session.homeFolder(), session.addressBook, session.reservations);
    StoredFiles files(session, !json.wanted());
    struct RowStart {
        int station;
        std::size_t files;
        std::size_t messages;
    };
    std::vector<RowStart> starts;
    auto run = runArbitraryList(session, list.stations(), [&](int row) {
        int station = list.stations()[static_cast<std::size_t>(row)];
        // Taking the files so far first lets the rows before print theirs before this row's line.
        starts.push_back({station, files.files().size(), context.host.reports().size()});
        std::fprintf(stderr, "-- %s %s\n", stationNumberText(station).c_str(),
                     session.addressBook.station(station).name.c_str());
    });

    std::vector<StoredFile> stored = files.files();
    std::vector<std::string> messages = context.host.reports();
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    std::size_t nextResult = 0;
    for (std::size_t row = 0; row < starts.size(); ++row) {
        const RowStart& start = starts[row];
        std::size_t filesEnd = row + 1 < starts.size() ? starts[row + 1].files : stored.size();
        std::size_t messagesEnd = row + 1 < starts.size() ? starts[row + 1].messages : messages.size();
        nlohmann::ordered_json entry = {{"row", row + 1}, {"station", start.station + 1},
                                {"name", session.addressBook.station(start.station).name}};
        // The run collects only the stations that have a name; the others have no result.
        bool collected = session.addressBook.hasName(start.station) && nextResult < run.results.size();
        entry["result"] = collected ? nlohmann::ordered_json(run.results[nextResult++]) : nlohmann::ordered_json();
        entry["files"] = storedFilesJson({stored.begin() + static_cast<std::ptrdiff_t>(start.files),
                                          stored.begin() + static_cast<std::ptrdiff_t>(filesEnd)});
        entry["messages"] = std::vector<std::string>(messages.begin() + static_cast<std::ptrdiff_t>(start.messages),
                                                     messages.begin() + static_cast<std::ptrdiff_t>(messagesEnd));
        rows.push_back(entry);
    }
    json.body()["rows"] = rows;
    json.body()["files"] = storedFilesJson(stored);
    if (run.cancelled) return kExitFailed;
    return collectionExitStatus(run.results, files);
}

void showList(const Session& session, JsonResult& json, const ArbitraryList& list) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (std::size_t row = 0; row < list.size(); ++row) {
        int station = list.stations()[row];
        if (json.wanted()) {
            nlohmann::ordered_json entry = {{"row", row + 1}};
            entry.update(stationJson(session.addressBook, station));
            rows.push_back(entry);
        } else {
            printStationRow(session.addressBook, station, {std::to_string(row + 1)});
        }
    }
    json.body()["rows"] = rows;
    std::fflush(stdout);
}

// The window's buttons; the list is saved at once, as the window saves it when it closes.
int editList(CommandContext& context, JsonResult& json, ArbitraryList& list) {
    const auto& args = context.args;
    const AddressBook& book = context.session.addressBook;
    const std::string& word = args[0];
    auto refusedStation = [&](int place) {
        return json.refuse("entry " + std::to_string(place + 1) + " of the address book is empty", kExitUsage);
    };
    auto refusedFull = [&] {
        return json.refuse("the list is full (" + std::to_string(kMostArbitraryRows) + " rows)", kExitUsage);
    };
    auto refusedRow = [&](const std::string& text) {
        return json.refuse("the list has no row " + text + " (it has " + std::to_string(list.size()) + ")",
                           kExitUsage);
    };
    if (word == "add") {
        std::optional<int> place = args.size() == 2 ? stationPlace(args[1]) : std::nullopt;
        if (!place) return json.refuse("list add takes one address-book number from 1 to 100", kExitUsage);
        if (list.full()) return refusedFull();
        if (!list.add(book, *place)) return refusedStation(*place);
    } else if (word == "insert") {
        std::optional<int> row = args.size() == 3 ? listRow(args[1]) : std::nullopt;
        std::optional<int> place = args.size() == 3 ? stationPlace(args[2]) : std::nullopt;
        if (!row || !place)
            return json.refuse("list insert takes a row of the list and an address-book number from 1 to 100",
                               kExitUsage);
        if (list.full()) return refusedFull();
        if (!list.insertBefore(book, *row, *place))
            return book.hasName(*place) ? refusedRow(args[1]) : refusedStation(*place);
    } else if (word == "remove") {
        std::optional<int> row = args.size() == 2 ? listRow(args[1]) : std::nullopt;
        if (!row) return json.refuse("list remove takes a row of the list", kExitUsage);
        if (!list.remove(*row)) return refusedRow(args[1]);
    } else if (word == "clear") {
        if (args.size() != 1) return json.refuse("list clear takes no arguments", kExitUsage);
        list.clear();
    } else {
        return json.refuse("unknown argument " + word + " (see fenta21-cli list --help)", kExitUsage);
    }
    if (!storeArbitraryList(context.session, list)) return kExitFailed;
    showList(context.session, json, list);
    return kExitOk;
}

int runList(CommandContext& context) {
    JsonResult json(context, "list");
    Session& session = context.session;
    ArbitraryList list = loadArbitraryList(session.homeFile(kArbitraryListFileName));
    json.body()["list"] = session.homeFile(kArbitraryListFileName);
    const auto& args = context.args;
    int status;
    if (args.empty()) {
        status = collectList(context, json, list);
    } else if (args[0] == "show") {
        status = args.size() == 1 ? kExitOk : json.refuse("list show takes no arguments", kExitUsage);
        if (status == kExitOk) showList(session, json, list);
    } else {
        status = editList(context, json, list);
    }
    return json.finish(status);
}

}  // namespace

const CommandInfo kListCommand{
    "list", "list [--json] [show | add N | insert ROW N | remove ROW | clear]",
    "Without arguments, collects the stations of the arbitrary list (any.dat) one after another,\n"
    "as \"任意回収\" does; entries without a name are skipped, and a cancel (Ctrl+C, SIGTERM or\n"
    "SIGHUP) ends the run. The paths of the files written are printed as collect prints them.\n\n"
    "  show            prints the list: its row number (from 1), then the station as stations\n"
    "                  prints it\n"
    "  add N           appends address-book entry N (1-100) (\"追加 ->\")\n"
    "  insert ROW N    puts entry N before row ROW (\"挿入 ->\")\n"
    "  remove ROW      removes row ROW (\"削除 <-\")\n"
    "  clear           empties the list (\"全て削除\")\n\n"
    "An entry without a name cannot be listed, a row must be one of the list's, and the list\n"
    "takes at most 10000 rows. A change is saved at once (written aside and renamed over\n"
    "any.dat, with the rows another program added or removed meanwhile kept) and the list is\n"
    "printed as show prints it. With --json, one JSON object: list (the file) and rows (each with row, station,\n"
    "name, result, files and messages when collecting; the station's fields with show), files\n"
    "as collect --json gives them, exitStatus, message and messages.\n"
    "Exit status when collecting: 0 all collected, 1 any failure, else 3 a data file stored but\n"
    "its CSV file not, else 4 some had nothing new; 130, 143 or 129 cancelled by SIGINT, SIGTERM\n"
    "or SIGHUP. When editing: 0 saved, 1 any.dat could not be written (it stays as it was).\n"
    "2 is a refused value or usage error (nothing written).\n",
    &runList,
};

}  // namespace fenta21::cli
