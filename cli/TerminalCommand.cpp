// fenta21-cli terminal: the keyboard command mode on stdin and stdout.
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/PortOptions.h"
#include "core/session/Session.h"
#include "core/app/KeyboardMode.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>

namespace fenta21::cli {
namespace {

using namespace std::chrono_literals;

// How long a sent line waits for its answer before the next line goes out: one read time-out.
// Sending purges what has not been read yet, so a script's next line must not overtake the
// answer to the one before.
constexpr auto kAnswerWait = 2s;
constexpr auto kAnswerPoll = 20ms;

int runTerminal(CommandContext& context) {
    PortOptions port;
    std::string error;
    if (!takePortOptions(context.args, port, error)) {
        std::fprintf(stderr, "fenta21-cli terminal: %s\n", error.c_str());
        return kExitUsage;
    }
    for (const auto& arg : context.args) {
        if (arg == "--yes") {
            context.host.answerYes = true;
        } else {
            std::fprintf(stderr, "fenta21-cli terminal: unknown argument %s\n", arg.c_str());
            return kExitUsage;
        }
    }

    Session& session = context.session;
    session.channel()->deviceOverride = port.devicePath;
    KeyboardPort keyboardPort = savedDirectPort(session);
    if (port.portNumber) keyboardPort.portNumber = *port.portNumber;
    if (port.speedIndex) keyboardPort.speedIndex = *port.speedIndex;

    std::mutex outMutex;
    std::atomic<int> received{0};
    KeyboardMode mode(session, [&](const std::string& line) {
        std::lock_guard lock(outMutex);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        received.fetch_add(1);
    });
    if (!mode.open(keyboardPort)) return kExitFailed;

    const Clock& clock = session.clock;
    auto awaitAnswer = [&](int before) {
        const auto polls = kAnswerWait / kAnswerPoll;
        for (long i = 0; i < polls && received.load() == before; ++i) clock.sleepFor(kAnswerPoll);
    };
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const int before = received.load();
        if (line == "!quit") break;
        if (line == "!ACK") mode.sendAck();
        else if (line == "!NAK") mode.sendNak();
        else if (line == "!CAN") mode.sendCan();
        else if (!mode.send(line)) continue;  // "CLEAR" answered no
        awaitAnswer(before);
    }
    mode.close();
    return kExitOk;
}

}  // namespace

const CommandInfo kTerminalCommand{
    "terminal",
    "terminal [--port COMn | --device PATH] [--speed RATE] [--yes]",
    "The keyboard command mode: every line typed on stdin is sent to the logger (or modem) as it is,\n"
    "and every line that comes back is printed on stdout as it arrives. No reply is checked and\n"
    "nothing is retried; after each line the next waits until an answer came or a read timed out.\n"
    "When the line is idle the port is opened without a link handshake and closed at the end.\n\n"
    "  !ACK, !NAK, !CAN   send that control byte\n"
    "  !quit              end (as does the end of stdin)\n"
    "  CLEAR              erases the logger's records: asked first, and sent only with --yes\n\n"
    "Exit status: 0 ended, 1 the port could not be opened, 2 usage error.\n\n"
    "options:\n"
    "  --yes             answer yes to the CLEAR question\n",
    &runTerminal,
};

}  // namespace fenta21::cli
