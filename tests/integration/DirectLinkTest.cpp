// The direct-link search over several pseudo-terminal ports, and the direct collection.
#include "core/app/DirectCollection.h"
#include "core/session/Session.h"
#include "core/collect/Block.h"
#include "core/collect/CollectResult.h"
#include "core/collect/Receivers.h"
#include "core/remote/ConnectionResult.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

std::vector<std::string> searchTexts(const ScriptedHost& host) {
    for (const auto& modal : host.modals())
        if (modal.spec.kind == ModalKind::Connection) return modal.texts;
    return {};
}

class DirectLink : public ::testing::Test {
protected:
    DirectLink() {
        std::filesystem::create_directory(line.home.root() + "/data");
        sim::ImageRecipe recipe;
        recipe.instants = 50;
        recipe.channels = {{0, 20, 10, 1, 0}};
        line.logger.setMemoryImage(sim::buildDataImage(recipe));
    }

    SimLine line;
};

TEST_F(DirectLink, SearchSkipsTheModemAndFindsTheLoggerAtItsSpeed) {
    sim::SimModem modem;
    sim::PtyServer modemPort(line.home.file("ttyMODEM"), modem);
    ASSERT_TRUE(modemPort.start());
    line.logger.answerOnlyAtSpeed(38400);
    line.home.write("comports.txt", "COM1 " + line.home.file("ttyMODEM") + "\nCOM2 " + line.home.file("nothing") +
                                        "\nCOM3 " + line.linkPath + "\n");

    EXPECT_EQ(directCollection(*line.session, CollectCommand::Copy), kCollectOk);
    EXPECT_THAT(modem.receivedLines(), Contains("AT"));
    EXPECT_THAT(modem.receivedLines(), testing::Not(Contains("CONNECT")));
    EXPECT_THAT(searchTexts(line.host), ElementsAre("通信回線接続中(COM1)",
                                                    "通信回線接続中(COM2)", "通信回線接続中(COM3)"));
    SystemSettings saved;
    loadSettings(line.home.file("system.dat"), saved);
    EXPECT_EQ(saved.directPortIndex, 2);
    EXPECT_EQ(saved.directSpeedIndex, 7);
    // The link it set up itself is taken down again.
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_FALSE(line.session->channel()->connected.load());
    EXPECT_EQ(line.logger.clearCount(), 1);
}

TEST_F(DirectLink, SavedLastPortIsTriedFirstThenTheSearchWraps) {
    line.session->settings.directPortIndex = 8;
    line.session->settings.directSpeedIndex = 5;
    line.home.write("comports.txt", "COM9 " + line.home.file("absent") + "\nCOM1 " + line.linkPath + "\n");
    EXPECT_EQ(linkUp(*line.session, {}), kLinkUp);
    EXPECT_THAT(searchTexts(line.host), ElementsAre("通信回線接続中(COM9)", "通信回線接続中(COM1)"));
    EXPECT_EQ(line.session->settings.directPortIndex, 0);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
    EXPECT_EQ(line.session->line.panelLinkActive(), 1);
    EXPECT_THAT(line.host.notices(), Contains("9600bpsで接続しました。  "));
}

TEST_F(DirectLink, HandshakeAnsweredWithExtraBlankIsNotALink) {
    sim::LoggerFaults faults;
    faults.connectReply = "READY ";
    line.logger.setFaults(faults);
    EXPECT_EQ(directCollection(*line.session, CollectCommand::Copy, {1, 5}), kLinkFailed);
    EXPECT_THAT(line.host.reports(), ElementsAre("回線接続　エラー !!     "));
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
    EXPECT_EQ(line.logger.transfersCompleted(), 0);
    auto lines = line.logger.receivedLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "CONNECT"), 3);  // three handshakes at the one speed
}

TEST_F(DirectLink, CollectionOverALinkThatIsUpLeavesItUp) {
    ASSERT_EQ(linkUp(*line.session, {1, 5}), kLinkUp);
    // With the panel running on the link, the direct line asks where to store.
    line.host.saveFiles.push_back(line.home.root() + "/data/chosen.v38");
    EXPECT_EQ(directCollection(*line.session, CollectCommand::AllCopy), kCollectOk);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
    EXPECT_TRUE(line.session->channel()->connected.load());
    EXPECT_TRUE(std::filesystem::exists(line.home.root() + "/data/chosen.v38"));
}

TEST_F(DirectLink, PanelMenuCollectsOverThePanelsLinkAndLeavesItUp) {
    ASSERT_EQ(linkUp(*line.session, {1, 5}), kLinkUp);
    line.host.saveFiles.push_back(line.home.root() + "/data/menu.v38");
    EXPECT_EQ(collectOverLink(*line.session, CollectCommand::Copy), kCollectOk);
    EXPECT_TRUE(std::filesystem::exists(line.home.root() + "/data/menu.v38"));
    EXPECT_THAT(line.host.reports(), ElementsAre());  // a collection that went well says nothing
    EXPECT_EQ(line.logger.clearCount(), 1);
    EXPECT_EQ(line.session->line.state(), LineState::Linked);
    EXPECT_TRUE(line.session->channel()->connected.load());
    auto lines = line.logger.receivedLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "CONNECT"), 1);  // only the link-up's handshake
}

TEST_F(DirectLink, PanelMenuWithoutTheUsersLinkSendsNothing) {
    struct Row {
        const char* legend;
        LineState state;
        const char* message;
    };
    const Row rows[] = {
        {"no link", LineState::Idle, "回線接続　エラー !!     "},
        {"a link another operation set up", LineState::Linked, "すでに回線接続中です!!     "},
        {"a link being set up", LineState::Connecting, "すでに回線接続中です!!     "},
    };
    ASSERT_EQ(line.open(), 1);
    std::vector<std::string> messages;
    for (const Row& row : rows) {
        line.session->line.setState(row.state);
        EXPECT_EQ(collectOverLink(*line.session, CollectCommand::AllCopy), kLinkFailed) << row.legend;
        EXPECT_EQ(line.session->line.state(), row.state) << row.legend;
        messages.push_back(row.message);
    }
    EXPECT_EQ(line.host.reports(), messages);
    EXPECT_THAT(line.logger.receivedLines(), ElementsAre());
    line.session->line.setState(LineState::Idle);
}

TEST_F(DirectLink, CancelDuringTheSearchGives27) {
    line.host.cancelModals = true;
    EXPECT_EQ(linkUp(*line.session, {}), kCancelled);
    EXPECT_THAT(line.host.reports(), ElementsAre("キャンセル !!           "));
    EXPECT_EQ(line.session->line.state(), LineState::Idle);
}

// A logger whose memory holds nothing to send: EOT answers the start byte at once, and a NAK
// of it, as every XMODEM sender does.
class EmptyLogger : public sim::SimDevice {
public:
    std::string receive(std::string_view bytes) override {
        std::string out;
        for (char c : bytes) {
            if ((c == 'C' || c == static_cast<char>(kNAK)) && pending_.empty()) out += static_cast<char>(kEOT);
            else if (c == '\n') {
                if (pending_ == "copy") out += "2048\r\n";
                else out += pending_ == "clear" ? "OK\r\n" : "READY\r\n";
                if (pending_ == "clear") ++clears;
                pending_.clear();
            } else if (c != '\r' && c != static_cast<char>(kACK)) pending_.push_back(c);
        }
        return out;
    }
    std::atomic<int> clears{0};

private:
    std::string pending_;
};

// It announced 2048 bytes and sent none: the empty file is stored, but nothing is cleared.
TEST(DirectLinkEmptyImage, EotAsTheFirstByteGivesAnEmptyFileWithoutClear) {
    SimLine line;
    EmptyLogger logger;
    sim::PtyServer port(line.home.file("ttyEMPTY"), logger);
    ASSERT_TRUE(port.start());
    line.home.write("comports.txt", "COM2 " + line.home.file("ttyEMPTY") + "\n");
    std::filesystem::create_directory(line.home.root() + "/data");
    line.session->settings.dataFileName = "EMPTY";
    EXPECT_EQ(directCollection(*line.session, CollectCommand::Copy, {2, 5}), kCollectOk);
    std::string path = line.session->line.lastDataFile.get();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_EQ(logger.clears.load(), 0);
    EXPECT_THAT(line.host.reports(), testing::Contains(kNotClearedMessage));
}

}  // namespace
}  // namespace fenta21::test
