// Remote stations dialled through the simulated Hayes modem on a pseudo-terminal.
#include "core/collect/CollectResult.h"
#include "core/remote/CollectStation.h"
#include "core/remote/ConnectionResult.h"
#include "core/protocol/Disconnect.h"
#include "core/remote/ModemControl.h"
#include "core/stations/ModemParameters.h"
#include "core/remote/ModemPortSearch.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/support/HeardCollections.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
namespace fs = std::filesystem;

constexpr const char* kNumber = "0312345678";

std::string image(int firstValue) {
    sim::ImageRecipe recipe;
    recipe.instants = 20;
    recipe.channels = {{0, 20, firstValue, 1, 0}};
    return sim::buildDataImage(recipe);
}

int count(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

class Modem : public ::testing::Test {
protected:
    explicit Modem(double scale = 0.05) : line(scale) {
        modemPath = line.home.file("ttyMODEM");
        port = std::make_unique<sim::PtyServer>(modemPath, modem);
        EXPECT_TRUE(port->start());
        line.home.write("comports.txt", "COM2 " + modemPath + "\n");
        line.session->settings.modemPortIndex = 1;
        line.session->settings.modemSpeedIndex = 5;
        fs::create_directory(line.home.root() + "/data");
        line.session->addressBook.store(0, {"河辺", kNumber, "", "KAWABE", "", "modem"});
    }
    ~Modem() override { port->stop(); }

    sim::RemoteStation& station(int units = 1) {
        auto& remote = modem.addStation(kNumber, units);
        for (int unit = 1; unit <= units; ++unit) remote.unit(unit).setMemoryImage(image(unit * 100));
        return remote;
    }
    int dialAttempts() { return count(modem.receivedLines(), "ATDT"); }

    SimLine line;
    sim::SimModem modem{true};
    std::string modemPath;
    std::unique_ptr<sim::PtyServer> port;
};

TEST_F(Modem, StationWithUnitsOneAndThreeIsCollectedUnitByUnit) {
    line.session->addressBook.store(0, {"河辺", std::string(kNumber) + "_1_3", "", "KAWABE", "", "modem"});
    auto& remote = station(3);
    HeardCollections heard(*line.session);
    EXPECT_EQ(collectStation(*line.session, 0), kCollectOk);
    std::vector<std::string> stored;
    for (const auto& path : heard.storedFiles()) stored.push_back(fs::path(path).filename().string());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].rfind("KAWABE1_", 0), 0u);
    EXPECT_EQ(stored[1].rfind("KAWABE3_", 0), 0u);
    EXPECT_EQ(remote.unit(1).clearCount(), 1);
    EXPECT_EQ(remote.unit(2).clearCount(), 0);
    EXPECT_EQ(remote.unit(3).clearCount(), 1);
    EXPECT_THAT(remote.unit(1).receivedLines(), Contains("_COM0"));
    EXPECT_THAT(remote.unit(3).receivedLines(), Contains("copy"));
    EXPECT_EQ(modem.hangUps(), 1);
    EXPECT_THAT(modem.dialledNumbers(), ElementsAre(kNumber));
    EXPECT_TRUE(line.host.reports().empty());
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    // The modem was set up as the program always does before dialling.
    auto commands = modem.receivedLines();
    for (const char* command : {"ATZ", "ATE0", "ATX3", "ATQ1", "AT\\N2", "ATH0"})
        EXPECT_THAT(commands, Contains(command)) << command;
}

TEST_F(Modem, UnitWithNothingNewDoesNotStopTheUnitsBehindIt) {
    line.session->addressBook.store(0, {"河辺", std::string(kNumber) + "_1_2_3", "", "KAWABE", "", "modem"});
    auto& remote = station(3);
    sim::LoggerFaults nothingNew;
    nothingNew.nothingNew = true;
    remote.unit(2).setFaults(nothingNew);
    HeardCollections heard(*line.session);
    EXPECT_EQ(collectStation(*line.session, 0), kCollectOk);
    std::vector<std::string> stored;
    for (const auto& path : heard.storedFiles()) stored.push_back(fs::path(path).filename().string());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].rfind("KAWABE1_", 0), 0u);
    EXPECT_EQ(stored[1].rfind("KAWABE3_", 0), 0u);
    EXPECT_EQ(remote.unit(1).clearCount(), 1);
    EXPECT_EQ(remote.unit(2).clearCount(), 0);
    EXPECT_EQ(remote.unit(3).clearCount(), 1);
    EXPECT_TRUE(line.host.reports().empty());
    EXPECT_EQ(modem.hangUps(), 1);

    // Nothing new anywhere: one report of it. A failure of another kind is what is reported.
    remote.unit(1).setFaults(nothingNew);
    remote.unit(3).setFaults(nothingNew);
    EXPECT_EQ(collectStation(*line.session, 0), kCollectNothingNew);
    EXPECT_THAT(line.host.reports(), ElementsAre("前回のデータ回収時以降に新しく記録されているデータがありません!!"));
    sim::LoggerFaults busy;
    busy.cardCollectionRunning = true;
    remote.unit(2).setFaults(busy);
    EXPECT_EQ(collectStation(*line.session, 0), kCollectCardBusy);
    EXPECT_EQ(line.host.reports().back(), "カード回収中によりアクセスできません!!   ");
    EXPECT_EQ(count(remote.unit(3).receivedLines(), "copy"), 2);  // the card collection stopped the run
}

// Waiting out a station that never answers costs many reads: a finer scale keeps it short.
class UnansweredModem : public Modem {
protected:
    UnansweredModem() : Modem(0.02) {}
};

TEST_F(UnansweredModem, WithoutMdmDatThreeAttemptsAndWithFiveAndThirtyFive) {
    auto& remote = station();
    remote.setFaults({.neverAnswers = true});
    line.clock.setLocalTime({2026, 12, 8, 9, 0, 0});
    EXPECT_EQ(connectStation(*line.session, 0), kLinkFailed);
    EXPECT_EQ(dialAttempts(), 3);
    EXPECT_THAT(line.host.reports(), ElementsAre("回線接続　エラー !!     "));
    auto texts = line.host.modals().back().texts;
    EXPECT_THAT(texts, ElementsAre("通信回線接続中(retry=2)", "通信回線接続中(retry=3)"));

    line.session->modem = ModemParameters{5, 300};
    auto sleptBefore = line.clock.slept();
    EXPECT_EQ(connectStation(*line.session, 0), kLinkFailed);
    EXPECT_EQ(dialAttempts(), 3 + 5);
    // Four redial waits of 30 s each, as the program asked for them.
    EXPECT_GE(line.clock.slept() - sleptBefore, std::chrono::seconds(120));
}

TEST_F(UnansweredModem, RetryCountOfZeroOrOneDialsOnce) {
    station().setFaults({.neverAnswers = true});
    for (int retries : {0, 1}) {
        line.session->modem = ModemParameters{retries, 10};
        int before = dialAttempts();
        EXPECT_EQ(connectStation(*line.session, 0), kLinkFailed);
        EXPECT_EQ(dialAttempts() - before, 1) << retries;
    }
}

TEST_F(Modem, ReadyWithMoreBehindItConnectsAndTheSecondDialIsAnswered) {
    auto& remote = station();
    remote.setFaults({.unansweredDials = 1});
    sim::LoggerFaults faults;
    faults.connectReply = "READY FENTA21";
    remote.unit(1).setFaults(faults);
    EXPECT_EQ(connectStation(*line.session, 0), kLinkUp);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
    EXPECT_EQ(dialAttempts(), 2);
    disconnectLine(*line.session);
    EXPECT_FALSE(modem.onLine());
}

TEST_F(Modem, CanLinesResetTheBudgetWithoutATryAndPlusesEndTheAttempt) {
    auto& remote = station();
    remote.setFaults({.canLines = 4});
    EXPECT_EQ(connectStation(*line.session, 0), kLinkUp);
    EXPECT_EQ(dialAttempts(), 1) << testing::PrintToString(modem.receivedLines());
    disconnectLine(*line.session);

    remote.setFaults({.plusLineAnswers = 2});  // the station has answered once already
    int before = dialAttempts();
    EXPECT_EQ(connectStation(*line.session, 0), kLinkUp);
    EXPECT_EQ(dialAttempts() - before, 2);  // the "+++" line ended the first attempt at once
    disconnectLine(*line.session);
}

// On a slower clock, so that the cancel lands while the modem is being initialised.
class SlowModem : public Modem {
protected:
    SlowModem() : Modem(0.2) {}
};

TEST_F(SlowModem, CancelDuringInitialisationGives27AndHangsUp) {
    station();
    // Pressed once the modem has heard "ATZ", the first command of the initialisation.
    std::thread cancel([this] {
        while (count(modem.receivedLines(), "ATZ") == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        line.session->channel()->cancelFlag.store(kCancelled);
    });
    EXPECT_EQ(connectStation(*line.session, 0), kCancelled);
    cancel.join();
    EXPECT_THAT(line.host.reports(), ElementsAre("キャンセル !!           "));
    // The simulator reads the line on its own thread: give it a moment for the last line.
    for (int i = 0; i < 100 && modem.receivedLines().back() != "ATZ"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto commands = modem.receivedLines();
    ASSERT_GE(commands.size(), 3u) << testing::PrintToString(commands);
    EXPECT_EQ(commands.front(), "ATZ");
    EXPECT_EQ(commands[commands.size() - 2], "ATH0");
    EXPECT_EQ(commands.back(), "ATZ");
    EXPECT_EQ(count(commands, "ATQ1"), 0) << "the initialisation stopped at the cancel";
    EXPECT_EQ(dialAttempts(), 0);
}

TEST_F(Modem, NoModemAnswerGives7AndAPortThatCannotOpenGives6WithoutHangUp) {
    station();
    sim::ModemFaults switchedOff;
    switchedOff.silent = true;
    modem.setFaults(switchedOff);
    EXPECT_EQ(connectStation(*line.session, 0), kNoModemAnswer);
    EXPECT_THAT(line.host.reports(), ElementsAre("モデム応答なし !!       "));

    line.home.write("comports.txt", "COM2 " + line.home.file("no-modem") + "\n");
    modem.setFaults({});
    int hangUpsBefore = modem.hangUps();
    EXPECT_EQ(connectStation(*line.session, 0), kPortUnusable);
    EXPECT_EQ(modem.hangUps(), hangUpsBefore);
    EXPECT_EQ(line.host.reports().back(), "通信ポート使用不可 !!   ");
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
}

TEST_F(Modem, DisconnectWhenIdleSendsNothing) {
    disconnectLine(*line.session);
    EXPECT_TRUE(modem.receivedLines().empty());
}

TEST_F(Modem, PortSearchFindsTheModemAndIsRefusedWhileTheLineIsInUse) {
    // The modem sits on COM2; the saved settings say COM5 and the dialog starts at COM9.
    line.home.write("comports.txt", "COM1 " + line.home.file("absent") + "\nCOM2 " + modemPath + "\n");
    line.session->settings.modemPortIndex = 4;
    auto found = searchModemPort(*line.session, 8, 5);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, 1);
    EXPECT_THAT(line.host.notices(), ElementsAre("COM9のポートを確認中!!     ", "COM1のポートを確認中!!     ",
                                                 "COM2のポートを確認中!!     ", "COM2のモデムを検出しました。  "));
    EXPECT_EQ(line.session->settings.modemPortIndex, 4);  // the settings change only on OK

    line.session->line.setState(LineState::Connecting);
    EXPECT_FALSE(searchModemPort(*line.session, 0, 5));
    EXPECT_THAT(line.host.reports(), ElementsAre("通信接続中のため検索できません!!"));
    EXPECT_EQ(line.session->line.state(), LineState::Connecting);
}

}  // namespace
}  // namespace fenta21::test
