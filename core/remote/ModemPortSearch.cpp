#include "core/remote/ModemPortSearch.h"

#include "core/session/Session.h"
#include "core/report/Report.h"
#include "core/serial/Channel.h"

#include <chrono>
#include <cstdio>

namespace fenta21 {
namespace {

constexpr int kPorts = 9;
constexpr int kLineMax = 80;
constexpr int kMaxProbeLines = 50;

std::string portText(const char* format, int port) {
    char text[80];
    std::snprintf(text, sizeof text, format, port);
    return text;
}

bool answersOk(TTYInfo* channel) {
    std::string line;
    for (int i = 0; i < kMaxProbeLines; ++i) {
        if (readLineCR(channel, line, kLineMax) != kLineRead) return false;
        if (line == "OK") return true;
    }
    return false;
}

}  // namespace

std::optional<int> searchModemPort(Session& session, int portIndex, int speedIndex) {
    if (!session.line.claim()) {
        report(session, "通信接続中のため検索できません!!");
        return std::nullopt;
    }
    TTYInfo* channel = session.channel();
    channel->deviceOverride.clear();
    channel->baudRate.store(kSpeedTable[static_cast<std::size_t>(speedIndex)]);
    std::optional<int> found;
    for (int i = 0, port = portIndex + 1; i < kPorts && !found; ++i, port = port % kPorts + 1) {
        session.host.showNotice(portText("COM%dのポートを確認中!!     ", port));
        sleepSeconds(channel, 1);
        channel->portNumber.store(static_cast<std::uint8_t>(port));
        if (openChannel(channel) != 0) {
            sleepSeconds(channel, 1);
            purgeInput(channel);
            sendLineCR(channel, "AT");
            if (answersOk(channel)) found = port - 1;
        }
        closeChannel(channel);
        session.host.hideNotice();
    }
    if (found) {
        session.host.showNotice(portText("COM%dのモデムを検出しました。  ", *found + 1));
        session.clock.sleepFor(std::chrono::seconds(2));
        session.host.hideNotice();
    } else {
        report(session, "モデムが検出きません!!");
    }
    session.line.release();
    return found;
}

}  // namespace fenta21
