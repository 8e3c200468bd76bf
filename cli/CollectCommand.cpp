#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/PortOptions.h"
#include "cli/StoreReports.h"
#include "cli/StoredFiles.h"
#include "core/app/DirectCollection.h"
#include "core/app/Session.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

int runCollect(CommandContext& context) {
    JsonResult json(context, "collect");
    PortOptions port;
    std::string error;
    if (!takePortOptions(context.args, port, error)) return json.finish(json.refuse(error, kExitUsage));
    CollectCommand command = CollectCommand::Copy;
    int kinds = 0;
    for (const auto& arg : context.args) {
        if (arg == "--all") command = CollectCommand::AllCopy;
        else if (arg == "--text") command = CollectCommand::Text;
        else return json.finish(json.refuse("unknown argument " + arg, kExitUsage));
        ++kinds;
    }
    if (kinds > 1) return json.finish(json.refuse("--all and --text exclude each other", kExitUsage));

    Session& session = context.session;
    LinkRequest link;
    TTYInfo* channel = session.channel();
    channel->deviceOverride = port.devicePath;
    if (!port.devicePath.empty()) link.portNumber = session.settings.directPortIndex + 1;
    if (port.portNumber) link.portNumber = *port.portNumber;
    if (port.speedIndex) link.speedIndex = *port.speedIndex;
    // Both given: the manual link, which keeps them as the saved direct settings.
    if (port.portNumber && port.speedIndex) rememberManualLink(session, *port.portNumber - 1, *port.speedIndex);

    store::StoreImporter importer(session.events, session.homeFolder(), storeImportTeller());
    StoredFiles files(session, !json.wanted());
    int result = directCollection(session, command, link);
    json.body()["result"] = result;
    json.body()["files"] = storedFilesJson(files.files());
    return json.finish(collectionExitStatus({result}, files));
}

}  // namespace

const CommandInfo kCollectCommand{
    "collect",
    "collect [--all | --text] [--json] [--port COMn | --device PATH] [--speed RATE]",
    "Links to the logger on the direct line, collects its records and takes the line down again.\n"
    "Without --port the ports are searched from the saved one on, as the automatic link does (a port\n"
    "where a modem answers is passed over); without --speed the speeds are searched. With both, the\n"
    "port and speed are used alone and kept as the saved direct settings, as the manual link does.\n\n"
    "  (default)  the records new since the last collection (\"copy\"), as a .v38 data file with a\n"
    "             CSV copy beside it; the logger then marks them collected\n"
    "  --all      every record (\"acopy\")\n"
    "  --text     the logger's text listing (\"text\"), as a .txt file\n\n"
    "Files go to the data folder of system.dat (or the \"data\" folder beside the home folder),\n"
    "named after the saved file name or the logger's own name and the date and time. The paths\n"
    "written are printed on stdout: the data file, then its CSV file when the conversion wrote it\n"
    "whole (when it did not, stderr says why). Progress, naming the device, and the result message\n"
    "go to stderr. Ctrl+C, SIGTERM or SIGHUP cancels: no partial file stays, the logger is not\n"
    "told to clear, the line is released.\n"
    "With --json, stdout has one JSON object instead of the paths: result (the collection's result\n"
    "code: 1 collected, 104 nothing new, ...), files (each with path, and for a data file records,\n"
    "firstRecord and lastRecord (\"2026-04-01T00:10:00\") and csv, null when no CSV was written\n"
    "whole, with csvProblem saying why), exitStatus, message (the last message shown, or \"\")\n"
    "and messages.\n"
    "Exit status: 0 collected, 3 the data file stored but its CSV file not, 4 nothing new to\n"
    "collect, 1 any other failure, 2 usage error; 130, 143 or 129 cancelled by SIGINT, SIGTERM or\n"
    "SIGHUP.\n\n"
    "options:\n",
    &runCollect,
};

}  // namespace fenta21::cli
