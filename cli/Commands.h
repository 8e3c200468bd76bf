#pragma once

#include <string>
#include <vector>

namespace fenta21 {
class Session;
}

namespace fenta21::cli {

class CliHost;

// What every command of fenta21-cli gets: the session (home folder loaded, settings read),
// the host that prints and answers, and the arguments after the command word.
struct CommandContext {
    Session& session;
    CliHost& host;
    std::vector<std::string> args;
};

// Exit statuses shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// Collections: the data file is stored, but its CSV file could not be written whole.
inline constexpr int kExitCsvFailed = 3;
inline constexpr int kExitNothingNew = 4;
// The scheduler: another program already runs this home folder's reservations.
inline constexpr int kExitHeldElsewhere = 5;

struct CommandInfo {
    const char* name;
    const char* synopsis;  // one line: "send [--port COMn | --device PATH] [--speed RATE] COMMAND..."
    const char* help;      // the full text of "fenta21-cli COMMAND --help"
    int (*run)(CommandContext& context);
};

// Each command lives in its own file and is listed here.
extern const CommandInfo kSendCommand;
extern const CommandInfo kCollectCommand;
extern const CommandInfo kCsvCommand;
extern const CommandInfo kViewCommand;
extern const CommandInfo kStationsCommand;
extern const CommandInfo kStationCommand;
extern const CommandInfo kListCommand;
extern const CommandInfo kScheduleCommand;
extern const CommandInfo kPanelCommand;
extern const CommandInfo kSetCommand;
extern const CommandInfo kTerminalCommand;
extern const CommandInfo kPortsCommand;
// Settings and lists without windows.
extern const CommandInfo kInitCommand;
extern const CommandInfo kConfigCommand;
extern const CommandInfo kReservationsCommand;
// The record store.
extern const CommandInfo kDbCommand;
// Pictures of data files, drawn by the companion program fenta21-plot.
extern const CommandInfo kPlotCommand;
// Which stations need a visit.
extern const CommandInfo kStatusCommand;

}  // namespace fenta21::cli
