// fenta21-cli panel and set: the remote operation panel without its window.
#include "cli/ArgumentDialogs.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/PortOptions.h"
#include "core/app/DirectCollection.h"
#include "core/session/Session.h"
#include "core/base/Clock.h"
#include "core/report/Report.h"
#include "core/panel/DialogChecks.h"
#include "core/panel/EnterActions.h"
#include "core/panel/PanelKeys.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelNavigation.h"
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"
#include "core/panel/SettingsReading.h"
#include "core/panel/SubLists.h"
#include "core/protocol/CommandExchange.h"
#include "core/protocol/LineGuard.h"
#include "core/remote/ConnectionResult.h"
#include "core/protocol/Disconnect.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace fenta21::cli {
namespace {

using namespace PanelItem;

// The panel's link for one command: linked as the collection links, the settings read as a
// panel session starts, and taken down again on every way out.
class PanelLink {
public:
    explicit PanelLink(Session& session) : session_(session) {}
    ~PanelLink() {
        if (!linked_) return;
        session_.line.setPanelLinkActive(0);
        disconnectLine(session_);
    }

    // 0 when the logger is linked and every setting was read; otherwise the failure was
    // reported and the command's exit status is returned.
    int open(const PortOptions& port) {
        LinkRequest link;
        session_.channel()->deviceOverride = port.devicePath;
        if (!port.devicePath.empty()) link.portNumber = session_.settings.directPortIndex + 1;
        if (port.portNumber) link.portNumber = *port.portNumber;
        if (port.speedIndex) link.speedIndex = *port.speedIndex;
        if (port.portNumber && port.speedIndex) rememberManualLink(session_, *port.portNumber - 1, *port.speedIndex);
        if (linkUp(session_, link) != kLinkUp) return kExitFailed;  // the search reported why
        linked_ = true;
        if (readAllSettings(session_) != kAccepted) {
            report(session_, kNoReplyMessage);
            return kExitFailed;
        }
        return kExitOk;
    }

private:
    Session& session_;
    bool linked_ = false;
};

std::string shown(const std::string& text) { return std::string(trimmed(text)); }

// ---- panel ----

int runPanel(CommandContext& context) {
    JsonResult json(context, "panel");
    PortOptions port;
    std::string error;
    if (!takePortOptions(context.args, port, error)) return json.finish(json.refuse(error, kExitUsage));
    if (!context.args.empty())
        return json.finish(json.refuse("unknown argument " + context.args.front(), kExitUsage));
    Session& session = context.session;
    PanelLink link(session);
    if (int status = link.open(port); status != kExitOk) return json.finish(status);

    PanelState& panel = session.panel;
    const CurrentModel model = panel.model.get();
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (int item : modelItems(model.kindNumber)) {
        // What moving to the item shows: Data and Mode are read afresh, Monitor reads its
        // live line as the refresher would.
        panel.currentItem.store(item);
        panel.channelIndex.store(0);
        refreshOnMove(session, item);
        if (item == kMonitor) readMonitor(session, false);
        std::string name = shown(panelItemName(item)), value = shown(panel.value(item));
        if (json.wanted()) items.push_back({{"item", name}, {"value", value}});
        else std::printf("%s\t%s\n", name.c_str(), value.c_str());
    }
    std::fflush(stdout);
    json.body()["model"] = model.code;
    json.body()["items"] = items;
    return json.finish(kExitOk);
}

// ---- set ----

struct SetRequest {
    int item = kIdle;
    std::optional<int> channel;  // counted from 0
    ArgumentDialogs::Entry entry;
};

std::string normalized(std::string word) {
    std::string out;
    for (char c : word)
        if (c != ' ' && c != '-' && c != '_') out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

int itemOfWord(const std::string& word) {
    const std::string w = normalized(word);
    struct Name {
        const char* word;
        int item;
    } constexpr kNames[] = {
        {"time", kTime},           {"date", kTime},          {"clock", kTime},       {"interval", kInterval},
        {"intv", kInterval},       {"presettimer", kPresetTimer}, {"pretm", kPresetTimer}, {"afterstart", kAfterStart},
        {"after", kAfterStart},    {"memo", kMemo},          {"rtcadjust", kRtcAdjust}, {"radj", kRtcAdjust},
        {"offset", kOffset},       {"offs0", kOffset},       {"wavecanceler", kWaveCanceler}, {"wave", kWaveCanceler},
        {"zero", kZeroSet},        {"zeroset", kZeroSet},    {"mode", kMode},
    };
    for (const Name& name : kNames)
        if (w == name.word) return name.item;
    return kIdle;
}

std::string joined(const std::vector<std::string>& words, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i) text += (i > from ? " " : "") + words[i];
    return text;
}

// Splits "a b" given as one argument or two into its two halves.
std::optional<std::vector<std::string>> twoFields(const std::vector<std::string>& args, std::size_t from) {
    std::string text = joined(args, from);
    std::size_t blank = text.find_first_of(" T");
    if (blank == std::string::npos) return std::nullopt;
    std::string first = text.substr(0, blank), second(trimmed(std::string_view(text).substr(blank + 1)));
    if (second.find(' ') != std::string::npos) return std::nullopt;
    return std::vector<std::string>{first, second};
}

// The date and time dialog's two boxes from "YYYY-MM-DD HH:MM:SS" or its own "YY/MM/DD HH:MM:SS".
std::optional<std::vector<std::string>> dateTimeBoxes(const std::vector<std::string>& args, std::size_t from) {
    std::string text = joined(args, from);
    if (auto t = parseCalendarTime(text)) {
        if (t->year < 2000 || t->year > 2099) return std::nullopt;
        return dateTimeFields(LoggerTime{t->year % 100, t->month, t->day, t->hour, t->minute, t->second});
    }
    return twoFields(args, from);
}

// Reads "set ITEM VALUE..." into a request; a complaint when the words do not fit.
std::string parseSet(const std::vector<std::string>& args, SetRequest& request) {
    if (args.empty()) return "no setting named";
    request.item = itemOfWord(args[0]);
    if (request.item == kIdle) return "unknown setting \"" + args[0] + "\"";
    auto& entry = request.entry;
    const std::size_t values = args.size() - 1;
    auto needValues = [&](std::size_t low, std::size_t high) { return values >= low && values <= high; };

    switch (request.item) {
    case kTime:
        if (values == 1 && normalized(args[1]) == "now") {
            entry.pressAction = true;
            return {};
        }
        if (!needValues(1, 2) || !(entry.fields = dateTimeBoxes(args, 1)))
            return "time takes \"now\", \"YYYY-MM-DD HH:MM:SS\" or \"YY/MM/DD HH:MM:SS\"";
        return checkDateTime(*entry.fields);
    case kAfterStart:
        if (!needValues(1, 2) || !(entry.fields = twoFields(args, 1))) return "after-start takes \"MM/DD HH:MM\"";
        return checkAfterStart(*entry.fields);
    case kMemo: {
        std::optional<int> number = values == 2 ? wholeInteger(args[1]) : std::nullopt;
        if (!number || *number < 1 || *number > kMemoCount) return "memo takes a number from 1 to 6 and a text";
        entry.field = std::pair{static_cast<std::size_t>(*number - 1), args[2]};
        return checkMemo(*number, args[2]);
    }
    case kRtcAdjust:
        if (values != 1) return "rtc-adjust takes one whole number";
        entry.fields = std::vector<std::string>{args[1]};
        return checkRtcAdjustment(*entry.fields);
    case kOffset:
        if (values != 1) return "offset takes one number";
        entry.fields = std::vector<std::string>{args[1]};
        // The logger's own bounds are checked once they are read; a number it must be anyway.
        return wholeDecimal(args[1]) ? std::string() : checkOffset(*entry.fields, OffsetLimits{});
    case kZeroSet: case kMode: {
        if (!needValues(request.item == kMode ? 2 : 1, 2)) return request.item == kMode ? "mode takes a channel and a choice" : "zero takes [CHANNEL] and Zero or Default";
        if (values == 2) {
            std::optional<int> channel = wholeInteger(args[1]);
            if (!channel || *channel < 1) return "the channel is a number counted from 1";
            request.channel = *channel - 1;
        }
        entry.listEntry = args.back();
        return {};
    }
    default:  // interval, preset timer, wave canceler: one entry of the list
        if (values < 1) return "the setting needs a value";
        entry.listEntry = joined(args, 1);
        return {};
    }
}

// The enter key on the item, and in the channel's sub-list for the settings kept per channel.
int enterSetting(Session& session, PanelDialogs& dialogs, const SetRequest& request) {
    PanelState& panel = session.panel;
    panel.currentItem.store(request.item);
    panel.displayState.store(DisplayState::kShown);
    panel.channelIndex.store(0);
    if (!opensSubList(request.item, panel.model.get().kindNumber)) return pressEnter(session, dialogs);
    acquireLineGuard(session);
    int result = enterItem(session, dialogs, request.item);
    if (result == kAccepted) result = selectSubListPosition(session, request.channel.value_or(0));
    if (result == kAccepted) result = enterSubList(session, dialogs);
    releaseLineGuard(session);
    return result;
}

std::string newValueText(Session& session, int item) {
    PanelState& panel = session.panel;
    if (item == kTime) return shown(panel.value(kDate)) + " " + shown(panel.value(kTime));
    if (item == kMode) return shown(panel.readTexts([](const PanelTexts& t) { return t.modeLine; }));
    return shown(panel.value(item));
}

int runSet(CommandContext& context) {
    PortOptions port;
    std::string error;
    if (!takePortOptions(context.args, port, error)) {
        std::fprintf(stderr, "fenta21-cli set: %s\n", error.c_str());
        return kExitUsage;
    }
    SetRequest request;
    // Whatever a dialog would refuse is refused before the line is opened.
    if (std::string complaint = parseSet(context.args, request); !complaint.empty()) {
        std::fprintf(stderr, "fenta21-cli set: %s\n", complaint.c_str());
        return kExitUsage;
    }

    Session& session = context.session;
    PanelLink link(session);
    if (int status = link.open(port); status != kExitOk) return status;

    const CurrentModel model = session.panel.model.get();
    const std::vector<int> items = modelItems(model.kindNumber);
    if (std::find(items.begin(), items.end(), request.item) == items.end()) {
        std::fprintf(stderr, "fenta21-cli set: the %s logger has no %s\n", model.code.c_str(),
                     shown(panelItemName(request.item)).c_str());
        return kExitUsage;
    }
    const bool perChannel = opensSubList(request.item, model.kindNumber);
    if (perChannel && !request.channel) {
        std::fprintf(stderr, "fenta21-cli set: the %s logger sets this per channel: give the channel\n", model.code.c_str());
        return kExitUsage;
    }
    if (request.channel && (!perChannel || *request.channel >= model.channelCount)) {
        std::fprintf(stderr, "fenta21-cli set: the %s logger has %s\n", model.code.c_str(),
                     perChannel ? ("channels 1 to " + std::to_string(model.channelCount)).c_str() : "no channels for this setting");
        return kExitUsage;
    }

    ArgumentDialogs dialogs(request.entry);
    int result = enterSetting(session, dialogs, request);
    if (dialogs.refused()) {
        std::fprintf(stderr, "fenta21-cli set: %s\n", dialogs.message().c_str());
        return kExitUsage;
    }
    if (!dialogs.shown()) {
        std::fprintf(stderr, "fenta21-cli set: the logger offers nothing to choose here\n");
        return kExitUsage;
    }
    // The PC-clock button ends its dialog as Cancel by design; any other way out is a failure.
    bool done = result == kAccepted || (result == kDialogNotOk && request.entry.pressAction);
    if (!done) return kExitFailed;
    std::printf("%s\n", newValueText(session, request.item).c_str());
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

const CommandInfo kPanelCommand{
    "panel",
    "panel [--json] [--port COMn | --device PATH] [--speed RATE]",
    "Links to the logger on the direct line as \"collect\" does, reads every setting as the remote\n"
    "operation panel does when it starts, and prints each item the logger's model shows on its\n"
    "panel, one a line: the item's name, a tab, and its value as the panel's second line shows it\n"
    "(for example \"BATT\" and \"[_____*****]\"). Data, Mode and Monitor show channel 1. The line is\n"
    "taken down afterwards. With --json, one JSON object instead: model (the logger's model\n"
    "code), items (each with item and value), exitStatus, message and messages.\n"
    "Exit status: 0 read, 1 the link or a read failed (the message is on stderr), 2 usage error.\n\n"
    "options:\n",
    &runPanel,
};

const CommandInfo kSetCommand{
    "set",
    "set [--port COMn | --device PATH] [--speed RATE] ITEM VALUE...",
    "Links to the logger, reads its settings as the panel does, and changes one setting the way the\n"
    "panel's enter key and settings dialog do: the same checks, the same write command. Prints the\n"
    "item's new value as the panel shows it.\n\n"
    "  time now                      the logger's clock from the PC's, at the turn of a second\n"
    "  time YYYY-MM-DD HH:MM:SS      (or the dialog's own form YY/MM/DD HH:MM:SS)\n"
    "  interval 10min                one of the intervals the model offers\n"
    "  preset-timer OFF|15min|5sec   seconds only for the models that count them\n"
    "  after-start MM/DD HH:MM\n"
    "  memo N TEXT                   memo 1-6, at most 16 bytes of code page 932\n"
    "  rtc-adjust N                  a whole number from -64 to 63\n"
    "  offset X                      metres, within the logger's own bounds\n"
    "  wave-canceler OFF|5S|...|30S\n"
    "  zero [CHANNEL] Zero|Default   the channel for strain loggers (RS8)\n"
    "  mode CHANNEL CHOICE           a choice of the channel's mode list (for example Disable)\n\n"
    "Channels are counted from 1, as the panel shows them. A value that the dialog would refuse\n"
    "is refused with its message and nothing is written; when the check needs nothing from the\n"
    "logger, the line is not even opened.\n"
    "Exit status: 0 written, 1 the link, a read or the write failed, 2 a refused value or usage error.\n\n"
    "options:\n",
    &runSet,
};

}  // namespace fenta21::cli
