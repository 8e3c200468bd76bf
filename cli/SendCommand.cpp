#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/PortOptions.h"
#include "core/session/Session.h"
#include "core/report/Report.h"
#include "core/protocol/CommandExchange.h"
#include "core/serial/Channel.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

// The longest reply the program ever asks for.
constexpr int kReplyMax = 80;
constexpr const char* kPortUnusableMessage = "通信ポート使用不可 !!   ";

int runSend(CommandContext& context) {
    PortOptions port;
    std::string error;
    if (!takePortOptions(context.args, port, error)) {
        std::fprintf(stderr, "fenta21-cli send: %s\n", error.c_str());
        return kExitUsage;
    }
    for (const auto& arg : context.args) {
        if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "fenta21-cli send: unknown option %s\n", arg.c_str());
            return kExitUsage;
        }
    }
    if (context.args.empty()) {
        std::fprintf(stderr, "fenta21-cli send: no command to send\n");
        return kExitUsage;
    }

    Session& session = context.session;
    applyDirectPort(session, port);
    // The port is held open as the keyboard command mode holds it: no link handshake.
    session.line.setState(LineState::Connecting);
    if (openChannel(session.channel()) == 0) {
        report(session, kPortUnusableMessage);
        session.line.release();
        return kExitFailed;
    }
    bool allAccepted = true;
    for (const auto& command : context.args) {
        std::string reply;
        if (sendCommandReport(session, command, reply, kReplyMax) == kAccepted) {
            std::printf("%s\n", reply.c_str());
            std::fflush(stdout);
        } else {
            allAccepted = false;
        }
    }
    closeChannel(session.channel());
    session.line.release();
    return allAccepted ? kExitOk : kExitFailed;
}

}  // namespace

const CommandInfo kSendCommand{
    "send",
    "send [--port COMn | --device PATH] [--speed RATE] COMMAND...",
    "Opens the direct port (no link handshake) and sends each COMMAND to the logger with the\n"
    "retry policy of cmd.dat. Each accepted reply is printed on its own line on stdout; a\n"
    "command that is not answered, or answered with an error, is reported on stderr\n"
    "(\"コマンド応答　受信タイムアウト\", \"コマンド応答エラー(?] \") and in ERR.LOG. An argument that\n"
    "begins with \"--\" and is none of the options below is refused, and nothing is sent.\n"
    "Exit status: 0 when every command was accepted, 1 otherwise, 2 on a usage error.\n\n"
    "options:\n",
    &runSend,
};

}  // namespace fenta21::cli
