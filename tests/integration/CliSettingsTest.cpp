// fenta21-cli init, config, stations set|clear, list editing, reservations and schedule on|off
// run as programs over a temporary home: what they refuse leaves every file as it was, what
// they take is what the core reads back, and a file that cannot be written keeps its old bytes.
#include "core/app/Startup.h"
#include "core/session/SystemSettings.h"
#include "core/base/Bytes.h"
#include "core/health/HealthSettings.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationFlag.h"
#include "tests/support/Process.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

// Every file of the home and data folders with its bytes. ERR.LOG is left out: like the
// windows, the program logs there every message it shows, a refusal too.
using Files = std::map<std::string, std::string>;

Files filesOf(const TempHome& home) {
    Files files;
    for (const std::string& folder : {home.path(), home.root() + "/data"})
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().filename() != "ERR.LOG")
                files[entry.path().string()] = readFileBytes(entry.path().string());
    return files;
}

// The names of the files made, removed or changed.
std::vector<std::string> changed(const Files& before, const Files& after) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : before)
        if (!after.count(name) || after.at(name) != bytes) names.push_back(name);
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) names.push_back(name);
    return names;
}

class CliSettings : public ::testing::Test {
protected:
    CliSettings() {
        installConfiguration(home);
        fs::create_directory(home.root() + "/data");
        SystemSettings settings;
        settings.modemSpeedIndex = 5;
        settings.settingsReserved = 7;  // kept whatever else changes
        saveSettings(home.file("system.dat"), settings);
        AddressBook book;
        book.store(0, {"河辺", "0311112222", "一号局", "KAWABE", "", "modem"});
        book.store(2, {"山田", "0322223333_1_2", "", "YAMADA", "", "modem"});
        saveAddressBook(home.file("adr.csv"), book);
        saveArbitraryList(home.file("any.dat"), ArbitraryList({0}));
        saveReservations(home.file("rsv.dat"), {{{0, 0, 30}, 0}});
        writeReservationFlag(home.file("rsvflg.dat"), false);
    }
    ProcessResult cli(const std::vector<std::string>& args) {
        std::vector<std::string> argv{FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, {}, home.root());
    }
    // The same under a file size limit of 0: every write of a byte to a file fails (EFBIG,
    // with SIGXFSZ ignored), even for root, whom no folder permission stops. What the program
    // says, and then its exit status, come through a pipe, which the limit does not stop.
    std::string cliWithoutWrites(const std::vector<std::string>& args) {
        std::vector<std::string> argv{
            "/bin/sh", "-c", "{ (ulimit -f 0; trap '' XFSZ; exec \"$@\"); echo \"exit status $?\"; } 2>&1 | cat", "sh",
            FENTA21_CLI_PATH, "--home", home.path()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProcess(argv, {}, home.root()).out;
    }

    TempHome home;
};

struct Refusal {
    const char* legend;
    std::vector<std::string> args;
    std::string says;
};

TEST_F(CliSettings, RefusedValuesExitTwoAndChangeNoFile) {
    const std::string nowhere = home.root() + "/nowhere";
    // Folders that exist, so that only their names can be what is refused.
    const std::string umlaut = home.root() + "/Müller", hangul = home.root() + "/관측소";
    std::filesystem::create_directory(umlaut);
    std::filesystem::create_directory(hangul);
    const Refusal rows[] = {
        {"config: a data folder that does not exist", {"config", "data-folder", nowhere},
         "設定したフォルダがありません!! "},
        {"config: a folder name without a code page 932 form", {"config", "data-folder", umlaut},
         "Shift_JISで表せない文字は使用できません!! "},
        {"config: a file name with an emoji", {"config", "file-name", "site\xF0\x9F\x8C\x8A"}, "Shift_JIS"},
        {"stations: a Korean folder", {"stations", "set", "1", "--folder", hangul}, "Shift_JIS"},
        {"stations: a name with an umlaut", {"stations", "set", "1", "--name", "Müller"}, "Shift_JIS"},
        {"config: 65 bytes of file name", {"config", "file-name", std::string(65, 'F')}, "at most 64 bytes"},
        {"config: a port outside COM1-COM9", {"config", "direct-port", "COM0"}, "COM1 to COM9"},
        {"config: a speed outside the table", {"config", "modem-speed", "14400"}, "bit rate"},
        {"config: a dial method of neither list entry", {"config", "dial", "rotary"}, "tone or pulse"},
        {"config: a setting it does not have", {"config", "parity", "even"}, "unknown setting"},
        {"config: an alert command of two lines", {"config", "on-failed", "true\nrm -rf x"}, "one line"},
        {"config: a metrics file in no folder", {"config", "metrics-file", nowhere + "/f.prom"}, "does not exist"},
        {"config: failing after no failure", {"config", "failing-after", "0"}, "from 1 to 1000"},
        {"config: a margin that is no number", {"config", "late-margin", "1h"}, "late-margin takes minutes"},
        {"stations: 31 bytes of name (15 kanji and a letter)",
         {"stations", "set", "2", "--name", "観測所観測所観測所観測所観測所x"}, "地点名は30バイトまでです!! "},
        {"stations: a comma", {"stations", "set", "1", "--remark", "a,b"}, "「,」は入力できません!! "},
        {"stations: a line break", {"stations", "set", "1", "--tel", "03\n1111"}, "改行は入力できません!! "},
        {"stations: a station folder that does not exist", {"stations", "set", "1", "--folder", nowhere},
         "設定したフォルダがありません!! "},
        {"stations: a method of neither choice", {"stations", "set", "1", "--method", "COM"}, "modem or com"},
        {"stations: place 101", {"stations", "clear", "101"}, "1 to 100"},
        {"list: an entry without a name", {"list", "add", "2"}, "entry 2 of the address book is empty"},
        {"list: a row the list does not have", {"list", "insert", "3", "1"}, "no row 3"},
        {"list: row 0", {"list", "remove", "0"}, "takes a row"},
        {"reservations: hour 24", {"reservations", "add", "1", "--hour", "24"}, "--hour takes every or an hour 0-23"},
        {"reservations: every minute", {"reservations", "add", "1", "--minute", "every"}, "--minute takes a minute"},
        {"reservations: day 0", {"reservations", "add", "1", "--day", "0"}, "--day takes every or a day 1-31"},
        {"reservations: a row the list does not have", {"reservations", "edit", "2", "--minute", "5"}, "no row 2"},
        {"reservations: an entry without a name", {"reservations", "insert", "1", "2"}, "entry 2 of the address book is empty"},
        {"schedule: neither on nor off", {"schedule", "maybe"}, "on, off and status"},
    };
    const Files before = filesOf(home);
    for (const Refusal& row : rows) {
        ProcessResult result = cli(row.args);
        EXPECT_EQ(result.exitCode, 2) << row.legend << "\n" << result.err;
        EXPECT_THAT(result.err, HasSubstr(row.says)) << row.legend;
        EXPECT_THAT(changed(before, filesOf(home)), IsEmpty()) << row.legend;
    }
}

TEST_F(CliSettings, AFileThatCannotBeWrittenIsReportedAndKeepsItsOldBytes) {
    const Refusal rows[] = {
        {"config data-folder", {"config", "data-folder", home.root() + "/data"}, "設定を保存できません!! "},
        {"config direct-speed", {"config", "direct-speed", "9600"}, "設定を保存できません!! "},
        {"config dial", {"config", "dial", "pulse"}, "設定を保存できません!! "},
        {"config on-late", {"config", "on-late", "true"}, "health.conf could not be written"},
        {"stations set", {"stations", "set", "1", "--remark", "二号局"}, "アドレス帳を保存できません!! "},
        {"stations clear", {"stations", "clear", "1"}, "アドレス帳を保存できません!! "},
        {"list add", {"list", "add", "3"}, "任意回収リストを保存できません!! "},
        {"reservations add", {"reservations", "add", "3"}, "予約回収リストを保存できません!! "},
        {"schedule on", {"schedule", "on"}, "予約回収の状態を保存できません!! "},
    };
    const Files before = filesOf(home);
    for (const Refusal& row : rows) {
        std::string said = cliWithoutWrites(row.args);
        EXPECT_THAT(said, HasSubstr(row.says)) << row.legend;
        EXPECT_THAT(said, ::testing::EndsWith("exit status 1\n")) << row.legend;
        // No half-written file and no temporary one beside it.
        EXPECT_THAT(changed(before, filesOf(home)), IsEmpty()) << row.legend;
    }
}

TEST_F(CliSettings, AcceptedValuesAreWhatTheCoreReadsBack) {
    const std::vector<std::vector<std::string>> commands = {
        {"config", "data-folder", "../data"},
        {"config", "file-name", "ｶﾜﾍﾞ"},
        {"config", "direct-port", "COM3"},
        {"config", "direct-speed", "19200"},
        {"config", "modem-port", "com2"},
        {"config", "modem-speed", "9"},
        {"config", "dial", "pulse"},
        {"config", "on-failed", "echo \"$FENTA21_STATION\"\tfailed >> alerts.txt"},
        {"config", "on-recovered", "true"},
        {"config", "on-recovered", ""},  // cleared again
        {"config", "metrics-file", "fenta21.prom"},
        {"config", "failing-after", "5"},
        {"config", "late-margin", "30"},
        {"stations", "set", "2", "--name", "観測所観測所観測所観測所観測所", "--tel", "0333", "--folder", "../data",
         "--method", "com"},
        {"stations", "set", "1", "--remark", "二号局"},  // the other fields stay
        {"stations", "clear", "3"},
        {"list", "add", "2"},           // [0, 1]
        {"list", "insert", "1", "2"},   // [1, 0, 1]
        {"list", "remove", "3"},        // [1, 0]
        {"reservations", "add", "2", "--day", "31", "--hour", "23", "--minute", "59"},
        {"reservations", "insert", "1", "1"},  // every day, every hour, minute 00, as the dialog starts
        {"reservations", "edit", "2", "--hour", "0"},
        {"schedule", "on"},
    };
    for (const auto& args : commands) {
        ProcessResult result = cli(args);
        EXPECT_EQ(result.exitCode, 0) << args[0] << " " << args[1] << "\n" << result.err;
    }

    SystemSettings settings;
    loadSettings(home.file("system.dat"), settings);
    SystemSettings expected{6, 2, "../data", 9, 1, 1, "ｶﾜﾍﾞ", 7};
    EXPECT_EQ(settings, expected);
    HealthSettingsRead health = loadHealthSettings(home.path());
    EXPECT_THAT(health.problems, IsEmpty());
    EXPECT_EQ(health.settings.onFailed, "echo \"$FENTA21_STATION\"\tfailed >> alerts.txt");
    EXPECT_EQ(health.settings.onRecovered, "");
    EXPECT_EQ(health.settings.metricsFile, "fenta21.prom");
    EXPECT_EQ(health.settings.thresholds.failingAfter, 5);
    EXPECT_EQ(health.settings.thresholds.lateMargin, 30 * 60);

    AddressBook book;
    ASSERT_TRUE(loadAddressBook(home.file("adr.csv"), book));
    EXPECT_EQ(book.station(1), (Station{"観測所観測所観測所観測所観測所", "0333", "", "", "../data", "com"}));
    EXPECT_EQ(book.station(0), (Station{"河辺", "0311112222", "二号局", "KAWABE", "", "modem"}));
    EXPECT_EQ(book.station(2), Station{});

    EXPECT_EQ(loadArbitraryList(home.file("any.dat")).stations(), (std::vector<int>{1, 0}));
    EXPECT_EQ(loadReservations(home.file("rsv.dat")),
              (std::vector<Reservation>{{{0, 0, 0}, 0}, {{0, 1, 30}, 0}, {{31, 24, 59}, 1}}));

    EXPECT_TRUE(readReservationFlag(home.file("rsvflg.dat")));
    EXPECT_EQ(cli({"schedule", "status"}).out, "on\n");
    EXPECT_EQ(cli({"schedule", "off"}).exitCode, 0);
    EXPECT_FALSE(readReservationFlag(home.file("rsvflg.dat")));
}

TEST_F(CliSettings, ListsShowTheirRowsWithTheStations) {
    cli({"reservations", "add", "3", "--day", "5", "--hour", "9", "--minute", "5"});
    EXPECT_EQ(cli({"reservations"}).out,
              "1\t毎日\t毎時\t30\t001\t河辺\t0311112222\t一号局\tKAWABE\t\tmodem\n"
              "2\t5\t09\t05\t003\t山田\t0322223333_1_2\t\tYAMADA\t\tmodem\n");
    EXPECT_EQ(cli({"list", "show"}).out, "1\t001\t河辺\t0311112222\t一号局\tKAWABE\t\tmodem\n");
    ProcessResult config = cli({"config"});
    EXPECT_THAT(config.out, HasSubstr("home\t" + home.path() + "\ndata-folder\t" + home.root() + "/data/\n"));
    EXPECT_THAT(config.out, HasSubstr("modem-speed\t9600\ndial\ttone\n"));
}

}  // namespace
}  // namespace fenta21::test
