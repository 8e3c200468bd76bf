// Changes of system.dat through the windows' "OK": the save destination, the manual link and
// the modem settings take only what their lists offer, and a settings file that cannot be
// written is reported with the session keeping what the file still holds.
#include "core/app/DirectCollection.h"
#include "core/app/SaveDestination.h"
#include "core/session/Session.h"
#include "core/session/SettingsStore.h"
#include "core/remote/ModemSettings.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Change {
    const char* legend;
    std::function<SettingsChange(Session&)> apply;
};

std::vector<Change> changesOfEveryWindow(const std::string& existingFolder) {
    return {
        {"save destination",
         [existingFolder](Session& s) {
             SaveDestination typed{"KAWABE", existingFolder};
             SettingsChange change = confirmSaveDestination(s, typed);
             EXPECT_EQ(typed.folder, existingFolder);  // kept for another try, not reset
             return change;
         }},
        {"manual link", [](Session& s) { return rememberManualLink(s, 2, 5); }},
        {"modem settings", [](Session& s) { return storeModemSettings(s, {9, 8, 1}); }},
    };
}

TEST(SettingsStore, AnUnwritableSettingsFileIsReportedAndTheSessionKeepsTheOldSettings) {
    TempHome home;
    TestClock clock;
    for (const Change& change : changesOfEveryWindow(home.root())) {
        ScriptedHost host;
        // A home folder that is gone: system.dat cannot be written there.
        Session session(home.root() + "/gone", host, clock);
        session.settings.dataFileName = "OLD";
        const SystemSettings before = session.settings;
        EXPECT_EQ(change.apply(session), SettingsChange::NotSaved) << change.legend;
        EXPECT_THAT(host.reports(), ElementsAre(kSettingsNotSavedText)) << change.legend;
        EXPECT_EQ(session.settings, before) << change.legend;
    }
}

TEST(SettingsStore, EveryWindowsChangeIsSavedWithTheRestOfTheRecord) {
    TempHome home;
    TestClock clock;
    for (const Change& change : changesOfEveryWindow(home.root())) {
        ScriptedHost host;
        Session session(home.path(), host, clock);
        session.settings.settingsReserved = 7;
        EXPECT_EQ(change.apply(session), SettingsChange::Stored) << change.legend;
        SystemSettings saved;
        loadSettings(home.file("system.dat"), saved);
        EXPECT_EQ(saved, session.settings) << change.legend;
        EXPECT_EQ(saved.settingsReserved, 7) << change.legend;
        EXPECT_THAT(host.reports(), IsEmpty()) << change.legend;
    }
}

TEST(SettingsStore, ValuesNoListOffersAreRefusedWithoutWriting) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path(), host, clock);
    const struct {
        const char* legend;
        std::function<SettingsChange()> apply;
    } rows[] = {
        {"modem speed 10", [&] { return storeModemSettings(session, {10, 0, 0}); }},
        {"modem port COM10", [&] { return storeModemSettings(session, {0, 9, 0}); }},
        {"dial method 2", [&] { return storeModemSettings(session, {0, 0, 2}); }},
        {"direct port -1", [&] { return rememberManualLink(session, -1, 0); }},
        {"direct speed 10", [&] { return rememberManualLink(session, 0, 10); }},
    };
    for (const auto& row : rows) EXPECT_EQ(row.apply(), SettingsChange::Refused) << row.legend;
    EXPECT_FALSE(home.exists("system.dat"));
    EXPECT_EQ(session.settings, SystemSettings{});
}

}  // namespace
}  // namespace fenta21::test
