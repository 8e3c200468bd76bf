// fenta21-cli: the headless program for scripts and unattended stations.
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/PortOptions.h"
#include "core/base/Folders.h"
#include "core/app/ProgramVersion.h"
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/serial/ComPortMap.h"
#include "core/serial/PortOpenFailure.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace fenta21;
using namespace fenta21::cli;

const CommandInfo* const kCommands[] = {&kSendCommand,     &kCollectCommand, &kCsvCommand,   &kViewCommand,
                                        &kStationsCommand, &kStationCommand, &kListCommand,  &kScheduleCommand,
                                        &kPanelCommand,    &kSetCommand,     &kTerminalCommand,
                                        &kPortsCommand,    &kInitCommand,    &kConfigCommand, &kReservationsCommand,
                                        &kDbCommand,       &kPlotCommand,   &kStatusCommand};

void printUsage(std::FILE* out) {
    std::fputs(
        "usage: fenta21-cli [--home DIR] COMMAND [options] [arguments]\n\n"
        "The FENTA21 communication program without windows: talks to a logger over a serial port\n"
        "and works with the files of its home folder (system.dat, cmd.dat, comports.txt, ERR.LOG...).\n\n"
        "global options:\n"
        "  --home DIR   the home folder (default: the current directory)\n"
        "  --help       this text; \"fenta21-cli COMMAND --help\" explains a command\n"
        "  --json       the result as one JSON object on stdout (collect, station, list, stations,\n"
        "               panel, config, reservations, db, plot)\n"
        "  --version    the program's version\n\n"
        "commands:\n",
        out);
    for (const CommandInfo* command : kCommands) std::fprintf(out, "  %s\n", command->synopsis);
    std::fputs(
        "\nCOM ports: comports.txt in the home folder maps them to devices, one line \"COMn PATH\"; a\n"
        "line that cannot be used is said on stderr at every start. A port that cannot be opened is\n"
        "said with its device and the system's reason.\n"
        "Ctrl+C, SIGTERM or SIGHUP cancels a long operation as its cancel button would, and the\n"
        "program then exits 130, 143 or 129.\n"
        "FENTA21_TIME_SCALE (a positive number, default 1) shortens every wait, for tests;\n"
        "FENTA21_START_TIME (YYYY-MM-DDTHH:MM:SS) starts the calendar there, running at that pace.\n",
        out);
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

// A mistake in comports.txt is said where the user sees it, not only in ERR.LOG at each open.
void sayPortMapProblems(const Session& session) {
    ComPortMap map = ComPortMap::load(session.homeFile("comports.txt"));
    for (const std::string& problem : map.problems())
        std::fprintf(stderr, "fenta21-cli: comports.txt %s\n", problem.c_str());
}

// Each port that cannot be opened, once: a search tries every speed on it again. A COM number
// without a device is passed over quietly while a search goes through all nine.
void sayPortsNotOpened(Session& session) {
    session.portNotOpened = [said = std::vector<std::string>()](const PortOpenFailure& failure) mutable {
        bool unmapped = failure.stage == PortOpenFailure::Stage::NoDevice && failure.mapProblem.empty();
        if (unmapped && failure.duringPortSearch) return;
        std::string text = portOpenFailureText(failure);
        for (const std::string& before : said)
            if (before == text) return;
        said.push_back(text);
        std::fprintf(stderr, "fenta21-cli: %s\n", text.c_str());
    };
}

// A mistake found before any command ran: said on stderr, and with --json (anywhere among
// the words) also as the object a script reads in place of the command's.
class EarlyErrors {
public:
    explicit EarlyErrors(const std::vector<std::string>& args)
        : json_(std::find(args.begin(), args.end(), "--json") != args.end()) {}

    void nameCommand(std::string command) { command_ = std::move(command); }

    // `hint` adds the pointer to the help text for a mistake in the words themselves.
    int fail(const std::string& text, bool hint = true) const {
        std::fprintf(stderr, "fenta21-cli: %s\n%s", text.c_str(), hint ? "(see fenta21-cli --help)\n" : "");
        if (json_) printJsonError(command_, text, kExitUsage);
        return kExitUsage;
    }

private:
    bool json_;
    std::string command_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    EarlyErrors early(args);
    std::string home = currentFolder();
    std::optional<std::string> homeGiven;  // the --home text, checked once the command is known
    bool jsonWanted = false;
    while (!args.empty() && args.front().rfind("--", 0) == 0) {
        if (args.front() == "--help" || args.front() == "-h") {
            printUsage(stdout);
            return kExitOk;
        }
        if (args.front() == "--json") {
            // Said before the command as well as among its options.
            jsonWanted = true;
            args.erase(args.begin());
            continue;
        }
        if (args.front() == "--version") {
            std::printf("fenta21-cli %s\n", programVersion());
            return kExitOk;
        }
        if (args.front() != "--home" || args.size() < 2)
            return early.fail(args.front() == "--home" ? "--home needs a folder" : "unknown option " + args.front());
        std::error_code ec;
        home = std::filesystem::absolute(args[1], ec).lexically_normal().string();
        homeGiven = args[1];
        if (ec) return early.fail("the home folder " + args[1] + " does not exist", false);
        while (home.size() > 1 && home.back() == '/') home.pop_back();
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) {
        printUsage(stderr);
        return early.fail("no command given", false);
    }

    const CommandInfo* command = nullptr;
    for (const CommandInfo* candidate : kCommands)
        if (args.front() == candidate->name) command = candidate;
    if (command == nullptr) return early.fail("unknown command \"" + args.front() + "\"");
    early.nameCommand(command->name);
    // init makes the home folder; every other command needs it there.
    if (homeGiven && command != &kInitCommand && !folderExists(home))
        return early.fail("the home folder " + *homeGiven + " does not exist", false);
    args.erase(args.begin());
    if (jsonWanted) args.push_back("--json");
    if (wantsHelp(args)) {
        std::printf("usage: fenta21-cli [--home DIR] %s\n\n%s", command->synopsis, command->help);
        if (std::strstr(command->synopsis, "--port")) std::fputs(kPortOptionsHelp, stdout);
        return kExitOk;
    }

    auto clock = clockFromEnvironment();
    if (!clock)
        return early.fail("FENTA21_TIME_SCALE must be a positive number and FENTA21_START_TIME a time written "
                          "YYYY-MM-DDTHH:MM:SS",
                          false);
    CliHost host;
    CliHost::installSignalHandlers();
    Session session(home, host, *clock);
    session.reports.logNotWritten = [](const std::string& path, int errorNumber) {
        std::fprintf(stderr, "fenta21-cli: cannot write %s (%s): its entries are lost\n", path.c_str(),
                     std::strerror(errorNumber));
    };
    sayPortsNotOpened(session);
    startUp(session);
    sayPortMapProblems(session);
    CommandContext context{session, host, std::move(args)};
    return CliHost::exitStatus(command->run(context));
}
