// fenta21-sim: a simulated FENTA21 logger on a pseudo-terminal, for the demo and manual work.
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

const char* kUsage = R"(usage: fenta21-sim --link PATH [options]

Simulates a FENTA21 logger on a pseudo-terminal. The terminal's device is published as a
symbolic link at PATH; map a COM port to it in comports.txt ("COM1 PATH") or open it with
fenta21-cli --device PATH. The logger answers "CONNECT" with "READY", selects units with
"_COM<n>", answers "eerm0" (station name), "xerm0" (model code), "comtm=0", "comtm=1" and
"clear" with "OK", an empty line with "READY", and any other command with its --reply text,
or "?" when it has none. It runs until interrupted (Ctrl+C).

options:
  --link PATH             where to publish the terminal (required)
  --name TEXT             station name answered to "eerm0" (default FENTA21-SIM)
  --model CODE            model code answered to "xerm0" (default WNDA-01)
  --units N               units behind the line, selected by "_COM0".."_COM<N-1>" (default 1)
  --reply COMMAND=TEXT    answer COMMAND with TEXT (repeatable)
faults:
  --silent                answer nothing at all
  --answer-nth COMMAND:N  answer COMMAND only at its N-th sending
  --wake-up-only COMMAND  never answer COMMAND, but answer an empty line
  --question COMMAND      answer COMMAND with "?"
  --noise TEXT            send TEXT before every reply
  --long-reply COMMAND:N  answer COMMAND with N characters
  --connect-reply TEXT    answer "CONNECT" with TEXT instead of "READY"
  --help                  show this text
)";

bool splitAt(const std::string& text, char separator, std::string& left, std::string& right) {
    auto at = text.find(separator);
    if (at == std::string::npos || at == 0) return false;
    left = text.substr(0, at);
    right = text.substr(at + 1);
    return true;
}

bool parseCount(const std::string& text, int& value) {
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < 1 || parsed > 100000) return false;
    value = static_cast<int>(parsed);
    return true;
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "fenta21-sim: %s\n(see fenta21-sim --help)\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using fenta21::sim::LoggerFaults;
    fenta21::sim::SimLogger logger;
    LoggerFaults faults;
    std::string link, name = "FENTA21-SIM", model = "WNDA-01";
    int units = 1;

    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text, left, right;
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (option == "--link") {
            if (!value(link)) return usageError("--link needs a path");
        } else if (option == "--name") {
            if (!value(name)) return usageError("--name needs a text");
        } else if (option == "--model") {
            if (!value(model)) return usageError("--model needs a code");
        } else if (option == "--units") {
            if (!value(text) || !parseCount(text, units) || units > 9) return usageError("--units needs 1 to 9");
        } else if (option == "--reply") {
            if (!value(text) || !splitAt(text, '=', left, right)) return usageError("--reply needs COMMAND=TEXT");
            logger.setReply(left, right);
        } else if (option == "--silent") {
            faults.silent = true;
        } else if (option == "--answer-nth") {
            if (!value(text) || !splitAt(text, ':', left, right) || !parseCount(right, faults.answerOnNth))
                return usageError("--answer-nth needs COMMAND:N");
            faults.answerOnNthCommand = left;
        } else if (option == "--wake-up-only") {
            if (!value(faults.wakeUpOnlyCommand)) return usageError("--wake-up-only needs a command");
        } else if (option == "--question") {
            if (!value(faults.questionCommand)) return usageError("--question needs a command");
        } else if (option == "--noise") {
            if (!value(faults.noiseBeforeReply)) return usageError("--noise needs a text");
        } else if (option == "--long-reply") {
            if (!value(text) || !splitAt(text, ':', left, right) || !parseCount(right, faults.longReplyLength))
                return usageError("--long-reply needs COMMAND:N");
            faults.longReplyCommand = left;
        } else if (option == "--connect-reply") {
            std::string reply;
            if (!value(reply)) return usageError("--connect-reply needs a text");
            faults.connectReply = reply;
        } else {
            return usageError("unknown option " + option);
        }
    }
    if (link.empty()) return usageError("--link PATH is required");

    logger.setIdentity(name, model);
    logger.setUnitCount(units);
    logger.setFaults(faults);

    fenta21::sim::PtyServer server(link, logger);
    if (!server.start()) {
        std::fprintf(stderr, "fenta21-sim: %s\n", server.error().c_str());
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::printf("fenta21-sim: logger \"%s\" (model %s, %d unit%s) on %s -> %s\n", name.c_str(), model.c_str(), units,
                units == 1 ? "" : "s", link.c_str(), server.slavePath().c_str());
    std::fflush(stdout);
    while (!stopRequested) ::usleep(50000);
    server.stop();
    std::printf("fenta21-sim: stopped\n");
    return 0;
}
