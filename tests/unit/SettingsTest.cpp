// system.dat, cmd.dat, rsvflg.dat, the data folder rule and the start-up loads.
#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/session/SystemSettings.h"
#include "core/base/Bytes.h"
#include "core/base/Cp932.h"
#include "core/protocol/RetrySettings.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

std::string field66(const std::string& cp932) {
    std::string field = cp932;
    field.resize(66, '\0');
    return field;
}

std::string systemDat(int speed, int port, const std::string& folder, int mSpeed, int mPort, int dial,
                      const std::string& name) {
    std::string bytes;
    appendInt32LE(bytes, speed);
    appendInt32LE(bytes, port);
    bytes += field66(folder);
    appendInt32LE(bytes, mSpeed);
    appendInt32LE(bytes, mPort);
    appendInt32LE(bytes, dial);
    bytes += field66(name);
    return bytes;
}

TEST(SystemDat, ShortFileLoadsWithReservedZeroAndSavingWrites156Bytes) {
    TempHome home;
    home.write("system.dat", systemDat(5, 2, utf8ToCp932("D:\\ﾃﾞｰﾀ"), 3, 1, 1, "KAWABE"));
    SystemSettings settings;
    settings.settingsReserved = 77;
    loadSettings(home.file("system.dat"), settings);
    EXPECT_EQ(settings.directSpeedIndex, 5);
    EXPECT_EQ(settings.directPortIndex, 2);
    EXPECT_EQ(settings.dataFolder, "D:\\ﾃﾞｰﾀ");
    EXPECT_EQ(settings.modemSpeedIndex, 3);
    EXPECT_EQ(settings.modemPortIndex, 1);
    EXPECT_EQ(settings.dialMethod, 1);
    EXPECT_EQ(settings.dataFileName, "KAWABE");
    EXPECT_EQ(settings.settingsReserved, 0);

    settings.settingsReserved = -5;
    ASSERT_TRUE(saveSettings(home.file("system.dat"), settings));
    std::string saved = home.read("system.dat");
    ASSERT_EQ(saved.size(), 156u);
    EXPECT_EQ(saved.substr(0, 152), systemDat(5, 2, utf8ToCp932("D:\\ﾃﾞｰﾀ"), 3, 1, 1, "KAWABE"));
    EXPECT_EQ(readInt32LE(saved, 152), -5);
    SystemSettings again;
    loadSettings(home.file("system.dat"), again);
    EXPECT_EQ(again, settings);
}

TEST(SystemDat, MissingFileKeepsDefaultsAndTruncatedFileKeepsUnreachedFields) {
    TempHome home;
    SystemSettings settings;
    loadSettings(home.file("system.dat"), settings);
    EXPECT_EQ(settings, SystemSettings{});

    home.write("system.dat", systemDat(7, 3, "x", 0, 0, 0, "").substr(0, 40));  // ends inside the folder field
    settings.dataFolder = "kept";
    settings.modemSpeedIndex = 4;
    loadSettings(home.file("system.dat"), settings);
    EXPECT_EQ(settings.directSpeedIndex, 7);
    EXPECT_EQ(settings.directPortIndex, 3);
    EXPECT_EQ(settings.dataFolder, "kept");
    EXPECT_EQ(settings.modemSpeedIndex, 4);
}

TEST(SystemDat, ReservedWordIsReadOnlyFromItsOwnFourBytes) {
    TempHome home;
    // A name whose first bytes would make a reserved word if the reading went on from there.
    std::string full = systemDat(5, 2, "D:\\logs", 3, 1, 0, "ABCDEFGH");
    appendInt32LE(full, 1234);
    for (std::size_t length : {12u, 40u, 90u, 120u, 151u, 152u}) {
        home.write("system.dat", full.substr(0, length));
        SystemSettings settings;
        settings.dataFileName = "kept";
        settings.settingsReserved = 77;
        loadSettings(home.file("system.dat"), settings);
        EXPECT_EQ(settings.settingsReserved, 0) << length << " bytes";
        EXPECT_EQ(settings.dataFileName, length >= 152 ? "ABCDEFGH" : "kept") << length << " bytes";
    }
    home.write("system.dat", full);
    SystemSettings settings;
    loadSettings(home.file("system.dat"), settings);
    EXPECT_EQ(settings.settingsReserved, 1234);
}

TEST(SystemDat, OutOfRangeIndicesAndUnterminatedTextsAreMadeSafe) {
    TempHome home;
    std::string bytes = systemDat(12, -1, std::string(66, 'f'), 99, 9, 5, "");
    appendInt32LE(bytes, 0);
    home.write("system.dat", bytes);
    SystemSettings settings;
    loadSettings(home.file("system.dat"), settings);
    EXPECT_EQ(settings.directSpeedIndex, 0);
    EXPECT_EQ(settings.directPortIndex, 0);
    EXPECT_EQ(settings.modemSpeedIndex, 0);
    EXPECT_EQ(settings.modemPortIndex, 0);
    EXPECT_EQ(settings.dialMethod, 0);
    EXPECT_EQ(settings.dataFolder, std::string(64, 'f'));
}

TEST(SystemDat, LongTextIsCutToSixtyFourBytesOnACharacterBoundary) {
    TempHome home;
    SystemSettings settings;
    settings.dataFileName = std::string(63, 'n') + "観測";  // 63 + 4 bytes
    ASSERT_TRUE(saveSettings(home.file("system.dat"), settings));
    std::string saved = home.read("system.dat");
    EXPECT_EQ(saved.substr(86, 66), std::string(63, 'n') + std::string(3, '\0'));
}

TEST(DataFolder, EmptyOrSpaceMeansTheDataFolderBesideHome) {
    EXPECT_EQ(resolveDataFolder("/opt/fenta21/bin", ""), "/opt/fenta21/data/");
    EXPECT_EQ(resolveDataFolder("/opt/fenta21/bin", " D:/logs"), "/opt/fenta21/data/");
    EXPECT_EQ(resolveDataFolder("/opt/fenta21/bin", "/mnt/usb/logs"), "/mnt/usb/logs/");
    EXPECT_EQ(resolveDataFolder("/opt/fenta21/bin", "/mnt/usb/logs/"), "/mnt/usb/logs/");
    EXPECT_EQ(resolveDataFolder("/", ""), "/data/");
    EXPECT_EQ(resolveDataFolder("/opt/fenta21/bin", "../data"), "/opt/fenta21/bin/../data/");
}

TEST(RetrySettingsFile, DefaultsHalvedWaitsAndUnsafeValues) {
    TempHome home;
    RetrySettings missing = loadRetrySettings(home.file("cmd.dat"));
    EXPECT_EQ(missing.tries, 3);
    EXPECT_EQ(missing.readsPerTry, 1);
    EXPECT_EQ(missing.panelLimit, 0);

    home.write("cmd.dat", "RETRY 5\nWAIT 7\nPANEL 10\n");
    RetrySettings read = loadRetrySettings(home.file("cmd.dat"));
    EXPECT_EQ(read.tries, 5);
    EXPECT_EQ(read.readsPerTry, 3);
    EXPECT_EQ(read.panelLimit, 10);

    struct Case {
        const char* content;
        int tries, reads, limit;
    };
    for (const Case& c : {Case{"RETRY 4\n", 4, 1, 0}, Case{"", 1, 1, 0}, Case{"RETRY 0 WAIT 1 PANEL -3", 1, 1, 0},
                          Case{"RETRY x WAIT 8", 1, 1, 0}, Case{"R -2 W -9 P 2", 1, 1, 2}}) {
        home.write("cmd.dat", c.content);
        RetrySettings s = loadRetrySettings(home.file("cmd.dat"));
        EXPECT_EQ(s.tries, c.tries) << c.content;
        EXPECT_EQ(s.readsPerTry, c.reads) << c.content;
        EXPECT_EQ(s.panelLimit, c.limit) << c.content;
    }
}

TEST(StartUp, LoadsEverySettingsFileOfTheHomeFolder) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    home.write("cmd.dat", "RETRY 2 WAIT 4 PANEL 1");
    home.write("system.dat", systemDat(6, 1, "", 0, 0, 0, "SITE"));
    std::string flag;
    appendInt16LE(flag, 1);
    home.write("rsvflg.dat", flag);
    Session session(home.path() + "/", host, clock);
    startUp(session);
    EXPECT_EQ(session.homeFolder(), home.path());
    EXPECT_EQ(session.retry.tries, 2);
    EXPECT_EQ(session.retry.readsPerTry, 2);
    EXPECT_EQ(session.settings.directSpeedIndex, 6);
    EXPECT_EQ(session.settings.dataFileName, "SITE");
    EXPECT_TRUE(session.reservationRunning.load());
    ASSERT_NE(session.channel(), nullptr);

    std::string off;
    appendInt16LE(off, 2);
    home.write("rsvflg.dat", off);
    EXPECT_FALSE(readReservationFlag(home.file("rsvflg.dat")));
    home.write("rsvflg.dat", "\x01");
    EXPECT_FALSE(readReservationFlag(home.file("rsvflg.dat")));
    EXPECT_FALSE(readReservationFlag(home.file("missing.dat")));
}

}  // namespace
}  // namespace fenta21::test
