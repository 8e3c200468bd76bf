// fenta21-cli config: system.dat without the "保存先の設定", "手動リンク" and "モデムの設定"
// windows, each change going through the same core function as the window's "OK".
#include "cli/CommandWords.h"
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "core/app/DirectCollection.h"
#include "core/base/Folders.h"
#include "core/app/SaveDestination.h"
#include "core/session/Session.h"
#include "core/session/SettingsStore.h"
#include "core/health/HealthSettings.h"
#include "core/remote/ModemSettings.h"
#include "core/store/StoreSettings.h"

#include <algorithm>
#include <cstdio>

namespace fenta21::cli {
namespace {

const char* const kDialWords[] = {"tone", "pulse"};

std::string portText(int portIndex) { return "COM" + std::to_string(portIndex + 1); }

// The settings as `config` shows them: one "name<TAB>value" line each, in the words that
// change them.
void printConfig(const Session& session) {
    const SystemSettings& s = session.settings;
    std::string folder = resolveDataFolder(session.homeFolder(), s.dataFolder);
    std::printf("home\t%s\n", session.homeFolder().c_str());
    std::printf("data-folder\t%s%s\n", folder.c_str(), folderExists(folder) ? "" : " (missing)");
    std::printf("data-folder-text\t%s\n", s.dataFolder.c_str());
    std::printf("file-name\t%s\n", s.dataFileName.c_str());
    std::printf("direct-port\t%s\n", portText(s.directPortIndex).c_str());
    std::printf("direct-speed\t%u\n", kSpeedTable[static_cast<std::size_t>(s.directSpeedIndex)]);
    std::printf("modem-port\t%s\n", portText(s.modemPortIndex).c_str());
    std::printf("modem-speed\t%u\n", kSpeedTable[static_cast<std::size_t>(s.modemSpeedIndex)]);
    std::printf("dial\t%s\n", kDialWords[s.dialMethod]);
    std::optional<std::string> location = store::storeLocation(session.homeFolder());
    std::printf("store\t%s\n", location ? store::withoutPassword(*location).c_str() : "(none)");
    HealthSettings health = loadHealthSettings(session.homeFolder()).settings;
    for (const std::string& name : kHealthSettingNames)
        std::printf("%s\t%s\n", name.c_str(), healthSettingText(health, name).c_str());
    std::fflush(stdout);
}

void describeConfig(const Session& session, nlohmann::ordered_json& body) {
    const SystemSettings& s = session.settings;
    std::string folder = resolveDataFolder(session.homeFolder(), s.dataFolder);
    body["home"] = session.homeFolder();
    body["settingsFile"] = session.homeFile(kSettingsFileName);
    body["dataFolder"] = folder;
    body["dataFolderExists"] = folderExists(folder);
    body["dataFolderText"] = s.dataFolder;
    body["fileName"] = s.dataFileName;
    body["directPort"] = portText(s.directPortIndex);
    body["directSpeed"] = kSpeedTable[static_cast<std::size_t>(s.directSpeedIndex)];
    body["modemPort"] = portText(s.modemPortIndex);
    body["modemSpeed"] = kSpeedTable[static_cast<std::size_t>(s.modemSpeedIndex)];
    body["dial"] = kDialWords[s.dialMethod];
    std::optional<std::string> location = store::storeLocation(session.homeFolder());
    body["store"] = location ? nlohmann::ordered_json(store::withoutPassword(*location)) : nlohmann::ordered_json();
    HealthSettings health = loadHealthSettings(session.homeFolder()).settings;
    body["onFailed"] = health.onFailed;
    body["onLate"] = health.onLate;
    body["onRecovered"] = health.onRecovered;
    body["metricsFile"] = health.metricsFile;
    body["failingAfter"] = health.thresholds.failingAfter;
    body["lateMargin"] = health.thresholds.lateMargin / 60;
}

// A setting of the station health (health.conf), changed under the home's lock.
int changeHealth(Session& session, JsonResult& json, const std::string& name, const std::string& value) {
    std::string refusal = healthSettingRefusal(session.homeFolder(), name, value);
    if (!refusal.empty()) return json.refuse(refusal, kExitUsage);
    HomeFileEdit edit = storeHealthSetting(session.homeFolder(), name, value);
    if (!edit.written())
        return json.refuse(std::string(kHealthSettingsFileName) + " could not be written: " + edit.problem, kExitFailed);
    return kExitOk;
}

int changeStatus(SettingsChange change) {
    switch (change) {
        case SettingsChange::Stored: return kExitOk;
        case SettingsChange::Refused: return kExitUsage;
        case SettingsChange::NotSaved: break;
    }
    return kExitFailed;
}

std::string portRefusal(const std::string& name, const std::string& value) {
    return name + " takes COM1 to COM9, not \"" + value + "\"";
}

std::string speedRefusal(const std::string& name, const std::string& value) {
    return name + " takes a bit rate (300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200) or its "
                  "index 0-9, not \"" + value + "\"";
}

// One setting changed as its window's "OK" changes it. Refusals of the window's own check
// were reported by the core; words that no list of the window offers are refused here.
int change(Session& session, JsonResult& json, const std::string& name, const std::string& value) {
    const SystemSettings& now = session.settings;
    if (name == "store") {
        if (value.empty()) return json.refuse("store takes a postgresql:// URL or an SQLite file", kExitUsage);
        std::string problem;
        return store::saveStoreLocation(session.homeFolder(), value, problem) ? kExitOk : json.refuse(problem, kExitFailed);
    }
    if (std::find(kHealthSettingNames.begin(), kHealthSettingNames.end(), name) != kHealthSettingNames.end())
        return changeHealth(session, json, name, value);
    if (name == "data-folder" || name == "file-name") {
        if (fitSaveDestinationText(value) != value)
            return json.refuse(name + " takes at most 64 bytes in code page 932", kExitUsage);
        SaveDestination typed = currentSaveDestination(session);
        (name == "data-folder" ? typed.folder : typed.fileName) = value;
        return changeStatus(confirmSaveDestination(session, typed));
    }
    if (name == "direct-port") {
        std::optional<int> port = portNumberWord(value);
        if (!port) return json.refuse(portRefusal(name, value), kExitUsage);
        return changeStatus(rememberManualLink(session, *port - 1, now.directSpeedIndex));
    }
    if (name == "direct-speed") {
        std::optional<int> speed = speedIndexWord(value);
        if (!speed) return json.refuse(speedRefusal(name, value), kExitUsage);
        return changeStatus(rememberManualLink(session, now.directPortIndex, *speed));
    }
    ModemSettings modem = currentModemSettings(session);
    if (name == "modem-port") {
        std::optional<int> port = portNumberWord(value);
        if (!port) return json.refuse(portRefusal(name, value), kExitUsage);
        modem.portIndex = *port - 1;
    } else if (name == "modem-speed") {
        std::optional<int> speed = speedIndexWord(value);
        if (!speed) return json.refuse(speedRefusal(name, value), kExitUsage);
        modem.speedIndex = *speed;
    } else if (name == "dial") {
        if (value != kDialWords[0] && value != kDialWords[1])
            return json.refuse("dial takes tone or pulse, not \"" + value + "\"", kExitUsage);
        modem.dialMethod = value == kDialWords[0] ? 0 : 1;
    } else {
        return json.refuse("unknown setting \"" + name + "\" (see fenta21-cli config --help)", kExitUsage);
    }
    return changeStatus(storeModemSettings(session, modem));
}

int runConfig(CommandContext& context) {
    JsonResult json(context, "config");
    Session& session = context.session;
    const auto& args = context.args;
    int status = kExitOk;
    if (args.size() == 1) status = json.refuse(args[0] + " needs a value", kExitUsage);
    else if (args.size() > 2) status = json.refuse("one setting at a time: NAME VALUE", kExitUsage);
    else if (args.size() == 2) status = change(session, json, args[0], args[1]);
    // The settings after the change, or as they stayed.
    if (json.wanted()) describeConfig(session, json.body());
    else if (status == kExitOk) printConfig(session);
    return json.finish(status);
}

}  // namespace

const CommandInfo kConfigCommand{
    "config", "config [--json] [NAME VALUE]",
    "Without NAME, prints the settings of system.dat, one \"NAME<TAB>VALUE\" line each: the home\n"
    "folder, the data folder collections store into (resolved as a collection resolves it, with\n"
    "\" (missing)\" behind it when it does not exist) and the text system.dat keeps for it, the\n"
    "data file name, the direct line's port and speed, and the modem's port, speed and dial\n"
    "method. With NAME VALUE, changes one setting with the checks of its window, saves\n"
    "system.dat (written aside and renamed over the old one; the settings another program\n"
    "changed meanwhile stay as it stored them) and prints the settings again:\n\n"
    "  data-folder PATH     the folder of \"保存先の設定\"; it must exist (a relative one is taken\n"
    "                       from the home folder; \"\" is the \"data\" folder beside the home)\n"
    "  file-name NAME       its data file name (\"\" takes the logger's own name); as the window's\n"
    "                       \"OK\", this too needs the folder it names to exist\n"
    "  direct-port COMn     the direct line's port, as \"手動リンク\" keeps it\n"
    "  direct-speed RATE    its speed: a bit rate (300 ... 115200) or its index 0-9\n"
    "  modem-port COMn      the modem's port, as \"モデムの設定\" keeps it\n"
    "  modem-speed RATE     the modem's speed\n"
    "  dial tone|pulse      the dial method (\"ﾄｰﾝ\" or \"ﾊﾟﾙｽ\")\n"
    "  store URL|FILE       the record store (store.url, not system.dat): a postgresql:// URL or an\n"
    "                       SQLite file; fenta21-cli db init also makes its tables\n\n"
    "Texts are at most 64 bytes in code page 932. A folder that does not exist is refused with\n"
    "\"設定したフォルダがありません!! \".\n\n"
    "The station health settings are kept in health.conf in the home folder (UTF-8):\n\n"
    "  on-failed CMD        a shell command (/bin/sh -c) run once when a station becomes failing\n"
    "  on-late CMD          ... when it becomes late\n"
    "  on-recovered CMD     ... when it is normal again after failing or late\n"
    "  metrics-file PATH    a file rewritten after each collection with the stations' health in\n"
    "                       the text format of node exporters (relative: from the home folder)\n"
    "  failing-after N      failed attempts in a row that make a station failing (default 3)\n"
    "  late-margin MINUTES  how much longer than the longest gap between its reserved\n"
    "                       collections a station may go without contact before it is late\n"
    "                       (default 15)\n\n"
    "\"\" clears a command or the metrics file. The commands get FENTA21_STATION, FENTA21_UNIT,\n"
    "FENTA21_STATE, FENTA21_PREVIOUS_STATE, FENTA21_RESULT (the last attempt's message),\n"
    "FENTA21_CONSECUTIVE_FAILURES, FENTA21_LAST_ATTEMPT and FENTA21_LAST_SUCCESS (ISO 8601, empty\n"
    "when none), FENTA21_MACHINE and FENTA21_HOME; one that fails or runs longer than 60 s (it is\n"
    "then killed, with what it started) is written to ERR.LOG. A change of state is announced once,\n"
    "whichever program on the home folder sees it first, and remembered in health.state.\n\n"
    "With --json, one JSON object: home, settingsFile, dataFolder, dataFolderExists,\n"
    "dataFolderText, fileName, directPort, directSpeed, modemPort, modemSpeed, dial, store (its\n"
    "password hidden; null when none), onFailed, onLate, onRecovered, metricsFile, failingAfter,\n"
    "lateMargin, exitStatus, message and messages.\n"
    "Exit status: 0 shown or changed, 1 system.dat, store.url or health.conf could not be written\n"
    "(it keeps the old settings), 2 a refused value or usage error (nothing written).\n",
    &runConfig,
};

}  // namespace fenta21::cli
