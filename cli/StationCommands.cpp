// The address book from the command line: listing and editing it, and collecting one station.
#include "cli/CliHost.h"
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/StationRows.h"
#include "cli/StoreReports.h"
#include "cli/StoredFiles.h"
#include "core/session/Session.h"
#include "core/collect/CollectResult.h"
#include "core/remote/CollectStation.h"
#include "core/health/HealthMonitor.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/StationEditor.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

int listStations(CommandContext& context, JsonResult& json) {
    const AddressBook& book = context.session.addressBook;
    nlohmann::ordered_json stations = nlohmann::ordered_json::array();
    for (int place = 0; place < kStationCount; ++place) {
        if (!book.hasName(place)) continue;
        if (json.wanted()) stations.push_back(stationJson(book, place));
        else printStationRow(book, place);
    }
    json.body()["addressBook"] = context.session.homeFile(kAddressBookFileName);
    json.body()["stations"] = stations;
    return kExitOk;
}

// The entry editor's fields as options; the ones not given keep the entry's text.
int setStation(CommandContext& context, JsonResult& json) {
    auto& args = context.args;
    std::vector<NamedValue> values;
    std::string error;
    if (!takeNamedValues(args, {"--name", "--tel", "--remark", "--file", "--folder", "--method"}, values, error))
        return json.refuse(error, kExitUsage);
    std::optional<int> place = args.size() == 2 ? stationPlace(args[1]) : std::nullopt;
    if (!place) return json.refuse("stations set takes one address-book number from 1 to 100 and its fields", kExitUsage);
    if (values.empty()) return json.refuse("give at least one field to set (see fenta21-cli stations --help)", kExitUsage);

    Session& session = context.session;
    std::optional<StationEditor> editor = StationEditor::open(session, session.addressBook, *place);
    StationForm typed = editor->form();
    for (const NamedValue& field : values) {
        if (field.name == "--name") typed.name = field.value;
        else if (field.name == "--tel") typed.telephone = field.value;
        else if (field.name == "--remark") typed.remark = field.value;
        else if (field.name == "--file") typed.fileName = field.value;
        else if (field.name == "--folder") typed.folder = field.value;
        else if (field.value == "modem" || field.value == "com") typed.direct = field.value == "com";
        else return json.refuse("--method takes modem or com, not \"" + field.value + "\"", kExitUsage);
    }
    // The editor reports what it refuses, as its window's "OK" does.
    if (editor->confirm(typed) != EditorOutcome::Stored) return kExitUsage;
    if (!storeAddressBook(session, session.addressBook)) return kExitFailed;
    if (json.wanted()) json.body()["station"] = stationJson(session.addressBook, *place);
    else printStationRow(session.addressBook, *place);
    return kExitOk;
}

// "削除" of the address book window, saved at once.
int clearStation(CommandContext& context, JsonResult& json) {
    const auto& args = context.args;
    std::optional<int> place = args.size() == 2 ? stationPlace(args[1]) : std::nullopt;
    if (!place) return json.refuse("stations clear takes one address-book number from 1 to 100", kExitUsage);
    Session& session = context.session;
    session.addressBook.erase(*place);
    return storeAddressBook(session, session.addressBook) ? kExitOk : kExitFailed;
}

int runStations(CommandContext& context) {
    JsonResult json(context, "stations");
    const auto& args = context.args;
    int status;
    if (args.empty()) status = listStations(context, json);
    else if (args[0] == "set") status = setStation(context, json);
    else if (args[0] == "clear") status = clearStation(context, json);
    else status = json.refuse("unknown argument " + args[0] + " (see fenta21-cli stations --help)", kExitUsage);
    return json.finish(status);
}

int runStation(CommandContext& context) {
    JsonResult json(context, "station");
    std::optional<int> place = context.args.size() == 1 ? stationPlace(context.args[0]) : std::nullopt;
    if (!place) return json.finish(json.refuse("give one address-book number from 1 to 100", kExitUsage));
    Session& session = context.session;
    json.body()["station"] = *place + 1;
    json.body()["name"] = session.addressBook.station(*place).name;
    if (!session.addressBook.hasName(*place))
        return json.finish(
            json.refuse("entry " + std::to_string(*place + 1) + " of the address book is empty", kExitFailed));
    store::StoreImporter importer(session.events, session.homeFolder(), storeImportTeller());
    HealthMonitor health(session.events, session.clock, session.homeFolder(), session.addressBook, session.reservations);
    StoredFiles files(session, !json.wanted());
    int result = collectStation(session, *place);
    json.body()["result"] = result;
    json.body()["files"] = storedFilesJson(files.files());
    return json.finish(collectionExitStatus({result}, files));
}

}  // namespace

const CommandInfo kStationsCommand{
    "stations",
    "stations [--json] | stations set N FIELD-OPTIONS... | stations clear N",
    "Without arguments, prints the address book (adr.csv): one line for each entry that has a\n"
    "name, with its number, name, telephone, remark, file name, folder and connection method,\n"
    "separated by tabs.\n\n"
    "  set N OPTIONS   changes entry N (1-100) as the entry editor (\"アドレス帳の設定\") does:\n"
    "                  the fields given change, the others keep their text. --name, --tel,\n"
    "                  --remark and --file hold at most 30 bytes in code page 932 (15 kanji),\n"
    "                  --folder 64; no field may hold a comma or a line break; the folder (or,\n"
    "                  when empty, the \"data\" folder beside the home) must exist. --method com\n"
    "                  is the direct line (\"COMﾀﾞｲﾚｸﾄ\"), modem dials (\"モデム\"). Prints the\n"
    "                  entry as stored.\n"
    "  clear N         empties entry N (\"削除\").\n\n"
    "adr.csv is saved at once, written aside and renamed over the old one; the entries another\n"
    "program changed meanwhile stay as it stored them. With --json, one\n"
    "JSON object: addressBook (the file), stations (number, name, telephone, remark, fileName,\n"
    "folder, method) or, after set, station; exitStatus, message and messages.\n"
    "Exit status: 0 done, 1 adr.csv could not be written (it stays as it was), 2 a refused value\n"
    "or usage error (nothing written).\n",
    &runStations,
};

const CommandInfo kStationCommand{
    "station", "station [--json] N",
    "Collects the new records of address-book entry N (1-100): dials it through the modem of\n"
    "the modem settings (or finds it on the direct line when its method is \"com\"), collects\n"
    "from each unit its telephone field lists, and hangs up. The paths of the files written are\n"
    "printed as collect prints them: each data file, then its CSV file when the conversion wrote\n"
    "it whole (when it did not, stderr says why). Ctrl+C, SIGTERM or SIGHUP cancels as in collect.\n"
    "With --json, one JSON object instead: station, name, result (the collection's result code),\n"
    "files (as collect --json gives them), exitStatus, message and messages.\n"
    "Exit status: 0 collected, 3 a data file stored but its CSV file not, 4 nothing new, 1 any\n"
    "other failure, 2 usage error; 130, 143 or 129 cancelled by SIGINT, SIGTERM or SIGHUP.\n",
    &runStation,
};

}  // namespace fenta21::cli
