#include "sim/SimOptions.h"

#include "sim/HayesCommands.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>

namespace fenta21::sim {

const char* const kSimUsage = R"(usage: fenta21-sim --link PATH [options]
       fenta21-sim --link PATH --station NUMBER[:UNITS[:NAME]] ... [options]

Simulates a FENTA21 logger (or a Hayes modem with remote stations) on a pseudo-terminal. The
terminal's device is published as a symbolic link at PATH; map a COM port to it in
comports.txt ("COM1 PATH") or open it with fenta21-cli --device PATH. The logger answers
"CONNECT" with "READY", selects units with "_COM<n>", answers "eerm0" (station name), "xerm0"
(model code), "comtm=0", "comtm=1" and "clear" with "OK", an empty line with "READY", and any
other command with its --reply text, or "?" when it has none. It holds a memory image
(--image, --image-recipe, or else a day of wind records): "copy" (records since the last
"clear") and "acopy" (all records) are answered with a byte count and, after the start byte
'C', the image follows in 1024-byte blocks with a CRC. With --text-listing it answers "eerl0"
with the line count and "text" with the lines and an "END" line. It runs until interrupted
(Ctrl+C).

With --station the far end is a Hayes modem. It takes command lines ended by CR, echoes them
until "ATE0" (with --modem-echo), sends no result codes after "ATQ1" until "ATZ", and answers
other "AT" commands with "OK". "ATDT<NUMBER>" (or "ATDP") calls a station: the modem goes
on-line ("CONNECT <speed>" unless quiet) and the station's logger greets the call with
"READY"; from then on every byte goes to the station's loggers and their answers come back.
A number no station has rings and never answers (NO CARRIER unless quiet). "+++" alone, with a
pause before and after it, returns to the commands with the call held; "ATH0" or "ATZ" then
hangs up, "ATO" resumes the call.

options:
  --link PATH             where to publish the terminal (required)
  --name TEXT             station name answered to "eerm0" (default FENTA21-SIM)
  --model CODE            model code answered to "xerm0" (default WNDA-01)
  --units N               units behind the line, selected by "_COM0".."_COM<N-1>" (default 1)
  --reply COMMAND=TEXT    answer COMMAND with TEXT (repeatable)
  --image FILE            memory image sent by "copy" and "acopy" (header offsets: end of the
                          records at byte 2, first record at byte 6, 32-bit little-endian);
                          without it the logger holds one day of ten-minute wind records
  --image-recipe FILE     build the memory image from a recipe text (model, station,
                          channel, instants ... one setting a line)
  --write-image FILE      write the memory image (of --image-recipe, or the day of wind
                          records) to FILE as a data file, and end without a link
  --no-image              hold no image: "copy" and "acopy" are answered like any command
                          (also the case when --reply gives them a reply)
  --text-listing FILE     lines listed by "text", counted by "eerl0"
  --pace BPS              write no faster than a line of BPS bits per second (10 bits a byte)
  --only-speed BPS        answer only when the program set this speed; silent at any other
  --copy-via 'PROGRAM ARGS'
                          after the count reply to "copy"/"acopy", hand the line to PROGRAM
                          (stdin and stdout on the line; split at spaces, no quoting), for
                          example --copy-via 'sx -k image.bin'
  --modem                 serve a Hayes modem instead of a logger (see above); without
                          --station every number it dials rings unanswered
  --modem-echo            the modem echoes each command line (until "ATE0"; "ATZ" turns the
                          echo on again)
modem with remote stations (--station implies --modem):
  --station NUMBER[:UNITS[:NAME]]
                          a station dialled as "ATDT<NUMBER>" (separators in NUMBER are not
                          dialled), with UNITS loggers behind its line (default 1, at most 9),
                          selected by "_COM0".."_COM<UNITS-1>"; each logger holds its own copy
                          of the image (as above) and answers "eerm0" with NAME (default the
                          --name text), or NAME-1, NAME-2 ... when there are several
                          (repeatable)
  --guard-ms N            the pause "+++" needs before and after it, and at most between its
                          pluses, in milliseconds (default 0: the pluses need only arrive in
                          reads of their own, which suits a program on a shortened clock)
  --ring-ms N             how long an unanswered number rings before NO CARRIER (default 30000)
  --modem-silent          fault: the modem answers nothing at all (switched off)
  --unanswered-dials N    fault: every station lets N dials ring before it answers one
  --never-answers         fault: the stations never answer
  --can-lines N           fault: on answering, the remote side sends N lines "CAN" first
  --silent-answer         fault: on answering, the remote side says nothing: "READY" comes
                          only when the program sends "CONNECT"
  --plus-line-answers N   fault: the first N answers send a line "+++" instead of "READY"
  --drop-after N          fault: the line drops after N bytes either way (NO CARRIER)
  The logger options above (but --units, --only-speed and --copy-via, which are for a logger
  served directly) and the faults below apply to every unit of every station.
faults (K is a block number from 1; K:N spoils the first N sendings of block K, K alone one):
  --silent                answer nothing at all
  --answer-nth COMMAND:N  answer COMMAND only at its N-th sending
  --wake-up-only COMMAND  never answer COMMAND, but answer an empty line
  --question COMMAND      answer COMMAND with "?"
  --noise TEXT            send TEXT before every reply
  --long-reply COMMAND:N  answer COMMAND with N characters
  --connect-reply TEXT    answer "CONNECT" with TEXT instead of "READY"
  --card-busy             card collection running: "copy"/"acopy" answer "BUSY"
  --no-end-line           the text listing stops without its "END" line
  --nothing-new           "copy" finds every record collected already and announces 640
  --bad-crc K[:N]         block K carries a wrong CRC
  --bad-complement K[:N]  block K's record number complement is wrong
  --wrong-start K[:N]     block K begins with 0x55 instead of STX
  --wrong-start-alone     ... and that byte is all that is sent
  --short-block K[:N]     a 128-byte SOH block goes out instead of block K
  --lost-ack K[:N]        the logger misses the ACK of block K and sends it again
  --stall-after K         after block K the logger sends nothing more (0: not even block 1)
  --early-eot K           after block K the logger sends EOT although blocks remain, and
                          again each time it is NAKed (0: EOT in place of block 1)
  --help                  show this text
)";

namespace {

bool splitAt(const std::string& text, char separator, std::string& left, std::string& right) {
    auto at = text.find(separator);
    if (at == std::string::npos || at == 0) return false;
    left = text.substr(0, at);
    right = text.substr(at + 1);
    return true;
}

bool parseNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool parseCount(const std::string& text, int& value) {
    long parsed = 0;
    if (!parseNumber(text, 1, 100000, parsed)) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseMilliseconds(const std::string& text, std::chrono::milliseconds& value) {
    long parsed = 0;
    if (!parseNumber(text, 0, 3'600'000, parsed)) return false;
    value = std::chrono::milliseconds(parsed);
    return true;
}

// "NUMBER[:UNITS[:NAME]]"; the number must hold something to dial.
bool parseStation(const std::string& text, StationOption& station) {
    std::string rest = text, units;
    if (!splitAt(text, ':', station.number, rest)) {
        station.number = text;
        rest.clear();
    } else if (!splitAt(rest, ':', units, station.name)) {
        units = rest;
    }
    if (dialledDigits(station.number).empty()) return false;
    return units.empty() || (parseCount(units, station.units) && station.units <= 9);
}

bool parseSpeed(const std::string& text, std::uint32_t& value) {
    long parsed = 0;
    if (!parseNumber(text, 1, 10'000'000, parsed)) return false;
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

// "K" or "K:N" into fault[K] = N (1 when N is left out).
bool parseBlockFault(const std::string& text, std::map<int, int>& fault) {
    std::string block = text, times = "1";
    std::string left, right;
    if (splitAt(text, ':', left, right)) {
        block = left;
        times = right;
    }
    int k = 0, n = 0;
    if (!parseCount(block, k) || !parseCount(times, n)) return false;
    fault[k] = n;
    return true;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

}  // namespace

std::string parseSimOptions(const std::vector<std::string>& args, SimOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        std::string text, left, right;
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        auto blockFault = [&](std::map<int, int>& fault) { return value(text) && parseBlockFault(text, fault); };

        if (option == "--help" || option == "-h") {
            o.help = true;
        } else if (option == "--link") {
            if (!value(o.link)) return "--link needs a path";
        } else if (option == "--name") {
            if (!value(o.name)) return "--name needs a text";
        } else if (option == "--model") {
            if (!value(o.model)) return "--model needs a code";
        } else if (option == "--units") {
            if (!value(text) || !parseCount(text, o.units) || o.units > 9) return "--units needs 1 to 9";
        } else if (option == "--reply") {
            if (!value(text) || !splitAt(text, '=', left, right)) return "--reply needs COMMAND=TEXT";
            o.replies.emplace_back(left, right);
        } else if (option == "--image") {
            if (!value(o.imageFile)) return "--image needs a file";
        } else if (option == "--image-recipe") {
            if (!value(o.imageRecipeFile)) return "--image-recipe needs a file";
        } else if (option == "--write-image") {
            if (!value(o.writeImageFile)) return "--write-image needs a file";
        } else if (option == "--no-image") {
            o.noImage = true;
        } else if (option == "--text-listing") {
            if (!value(o.textListingFile)) return "--text-listing needs a file";
        } else if (option == "--pace") {
            if (!value(text) || !parseSpeed(text, o.pace)) return "--pace needs a speed in bits per second";
        } else if (option == "--only-speed") {
            if (!value(text) || !parseSpeed(text, o.onlySpeed)) return "--only-speed needs a speed in bits per second";
        } else if (option == "--copy-via") {
            if (!value(text) || (o.copyVia = splitWords(text)).empty()) return "--copy-via needs a program";
        } else if (option == "--modem") {
            o.modem = true;
        } else if (option == "--modem-echo") {
            o.modem = true;
            o.modemEcho = true;
        } else if (option == "--station") {
            StationOption station;
            if (!value(text) || !parseStation(text, station))
                return "--station needs NUMBER[:UNITS[:NAME]] (1 to 9 units)";
            for (const StationOption& known : o.stations)
                if (dialledDigits(known.number) == dialledDigits(station.number))
                    return "--station " + station.number + " is given twice";
            o.stations.push_back(station);
            o.modem = true;
        } else if (option == "--guard-ms") {
            if (!value(text) || !parseMilliseconds(text, o.modemTimings.escapeGuard))
                return "--guard-ms needs milliseconds";
        } else if (option == "--ring-ms") {
            if (!value(text) || !parseMilliseconds(text, o.modemTimings.ringTime)) return "--ring-ms needs milliseconds";
        } else if (option == "--modem-silent") {
            o.modemFaults.silent = true;
        } else if (option == "--unanswered-dials") {
            if (!value(text) || !parseCount(text, o.stationFaults.unansweredDials)) return "--unanswered-dials needs a count";
        } else if (option == "--never-answers") {
            o.stationFaults.neverAnswers = true;
        } else if (option == "--can-lines") {
            if (!value(text) || !parseCount(text, o.stationFaults.canLines)) return "--can-lines needs a count";
        } else if (option == "--silent-answer") {
            o.stationFaults.silentAnswer = true;
        } else if (option == "--plus-line-answers") {
            if (!value(text) || !parseCount(text, o.stationFaults.plusLineAnswers)) return "--plus-line-answers needs a count";
        } else if (option == "--drop-after") {
            long bytes = 0;
            if (!value(text) || !parseNumber(text, 1, 1'000'000'000, bytes)) return "--drop-after needs a byte count";
            o.stationFaults.dropAfterBytes = static_cast<std::size_t>(bytes);
        } else if (option == "--silent") {
            o.faults.silent = true;
        } else if (option == "--answer-nth") {
            if (!value(text) || !splitAt(text, ':', left, right) || !parseCount(right, o.faults.answerOnNth))
                return "--answer-nth needs COMMAND:N";
            o.faults.answerOnNthCommand = left;
        } else if (option == "--wake-up-only") {
            if (!value(o.faults.wakeUpOnlyCommand)) return "--wake-up-only needs a command";
        } else if (option == "--question") {
            if (!value(o.faults.questionCommand)) return "--question needs a command";
        } else if (option == "--noise") {
            if (!value(o.faults.noiseBeforeReply)) return "--noise needs a text";
        } else if (option == "--long-reply") {
            if (!value(text) || !splitAt(text, ':', left, right) || !parseCount(right, o.faults.longReplyLength))
                return "--long-reply needs COMMAND:N";
            o.faults.longReplyCommand = left;
        } else if (option == "--connect-reply") {
            std::string reply;
            if (!value(reply)) return "--connect-reply needs a text";
            o.faults.connectReply = reply;
        } else if (option == "--card-busy") {
            o.faults.cardCollectionRunning = true;
        } else if (option == "--no-end-line") {
            o.faults.listingWithoutEndLine = true;
        } else if (option == "--nothing-new") {
            o.faults.nothingNew = true;
        } else if (option == "--bad-crc") {
            if (!blockFault(o.blockFaults.badCrc)) return "--bad-crc needs K or K:N";
        } else if (option == "--bad-complement") {
            if (!blockFault(o.blockFaults.badComplement)) return "--bad-complement needs K or K:N";
        } else if (option == "--wrong-start") {
            if (!blockFault(o.blockFaults.wrongStart)) return "--wrong-start needs K or K:N";
        } else if (option == "--wrong-start-alone") {
            o.blockFaults.wrongStartAlone = true;
        } else if (option == "--short-block") {
            if (!blockFault(o.blockFaults.shortBlock)) return "--short-block needs K or K:N";
        } else if (option == "--lost-ack") {
            if (!blockFault(o.blockFaults.lostAck)) return "--lost-ack needs K or K:N";
        } else if (option == "--stall-after") {
            long k = 0;
            if (!value(text) || !parseNumber(text, 0, 100000, k)) return "--stall-after needs a block number (0 or more)";
            o.blockFaults.stallAfter = static_cast<int>(k);
        } else if (option == "--early-eot") {
            long k = 0;
            if (!value(text) || !parseNumber(text, 0, 100000, k)) return "--early-eot needs a block number (0 or more)";
            o.blockFaults.earlyEotAfter = static_cast<int>(k);
        } else {
            return "unknown option " + option;
        }
    }
    if (!o.help && o.link.empty() && o.writeImageFile.empty()) return "--link PATH is required";
    // The stations' loggers sit behind the modem: the line's speed and the line itself are
    // the modem's, and their units come with each --station.
    if (!o.stations.empty()) {
        if (o.units != 1) return "--units is for a logger served directly; give a station's units as --station NUMBER:UNITS";
        if (o.onlySpeed != 0) return "--only-speed is for a logger served directly, not behind the modem";
        if (!o.copyVia.empty()) return "--copy-via is for a logger served directly, not behind the modem";
    }
    return {};
}

}  // namespace fenta21::sim
