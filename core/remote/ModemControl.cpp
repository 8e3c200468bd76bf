#include "core/remote/ModemControl.h"

#include "core/session/Session.h"
#include "core/base/Host.h"
#include "core/report/Report.h"
#include "core/protocol/CommandExchange.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/DirectLinkSearch.h"
#include "core/protocol/Disconnect.h"
#include "core/serial/Channel.h"

#include <chrono>
#include <cstdio>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

constexpr int kLineMax = 80;
constexpr int kTriesPerAttempt = 3;
// A modem that keeps talking without ever saying "OK", or a remote side that keeps sending
// "CAN", would otherwise hold the connection dialog open for ever.
constexpr int kMaxModemLines = 50;
constexpr int kMaxBudgetResets = 20;

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Waits for "OK", skipping echoed commands and empty lines: 0, 7 or 27.
int awaitOk(TTYInfo* channel) {
    std::string line;
    for (int i = 0; i < kMaxModemLines; ++i) {
        if (channel->cancelFlag.load() == kCancelled) return kCancelled;
        if (readLineCR(channel, line, kLineMax) != kLineRead) return kNoModemAnswer;
        if (line == "OK") return 0;
    }
    return kNoModemAnswer;
}

// "+++" with its guard pauses, the escape back to the modem's command mode.
int escapeToCommandMode(Session& session, TTYInfo* channel) {
    if (waitTenths(channel, 10) == kCancelled) return kCancelled;
    sendText(channel, "+");
    session.clock.sleepFor(50ms);
    sendText(channel, "+");
    session.clock.sleepFor(50ms);
    sendText(channel, "+");
    return waitTenths(channel, 10);
}

class Dialler {
public:
    Dialler(Session& session, ModalContext& dialog, const DialTarget& target, bool pulse)
        : session_(session), channel_(session.channel()), dialog_(dialog), target_(target), pulse_(pulse) {}

    int run() {
        if (waitTenths(channel_, 10) == kCancelled) return kCancelled;
        for (int attempt = 1;; ++attempt) {
            int result = dialOnce();
            if (result != kLinkFailed) return result;
            if (attempt >= session_.modem.retryCount) return kLinkFailed;
            char text[64];
            std::snprintf(text, sizeof text, "通信回線接続中(retry=%d)", attempt + 1);
            dialog_.setText(text);
            if (hangUpForRedial() == kCancelled) return kCancelled;
        }
    }

private:
    // One dial attempt: 0 connected, -1 not connected, 7 or 27.
    int dialOnce() {
        int init = initModem(session_);
        if (init != 0) return init;
        sendText(channel_, pulse_ ? "ATDP" : "ATDT");
        sendLineCR(channel_, target_.dialNumber);
        int budget = (pulse_ ? 50 : 45) + (target_.units.empty() ? 0 : 20);
        for (int tries = 0; tries < kTriesPerAttempt; ++tries) {
            if (waitTenths(channel_, 10) == kCancelled) return kCancelled;
            if (tries > 0) {
                purgeInput(channel_);
                sendLineCRLF(channel_, "CONNECT");
                budget = 2;
            }
            for (int resets = 0;; ++resets) {
                std::string line;
                int read = readAnswer(budget, line);
                if (read == kCancelled) return kCancelled;
                if (read != kLineRead) break;  // budget used up: the next try
                if (startsWith(line, "READY")) return kLinkUp;
                if ((startsWith(line, "CAN") || line.empty()) && resets < kMaxBudgetResets) {
                    budget = 5;  // the remote side is there but not ready: no try is counted
                    continue;
                }
                if (startsWith(line, "+++")) tries = kTriesPerAttempt;
                break;
            }
        }
        return kLinkFailed;
    }

    // Reads until a line arrives, allowing `budget` failed reads: the line's result, the last
    // failure, or 27 when cancelled after a failed read.
    int readAnswer(int budget, std::string& line) {
        int read = kLineTimeout;
        for (int failed = 0; failed < budget; ++failed) {
            read = readLineLF(channel_, line, kLineMax);
            if (read == kLineRead) return read;
            if (channel_->cancelFlag.load() == kCancelled) return kCancelled;
        }
        return read;
    }

    int hangUpForRedial() {
        purgeInput(channel_);
        if (escapeToCommandMode(session_, channel_) == kCancelled) return kCancelled;
        sendLineCRLF(channel_, "ATH0");
        return waitTenths(channel_, session_.modem.redialWaitTicks);
    }

    Session& session_;
    TTYInfo* channel_;
    ModalContext& dialog_;
    const DialTarget& target_;
    bool pulse_;
};

}  // namespace

int initModem(Session& session) {
    TTYInfo* channel = session.channel();
    purgeInput(channel);
    sendLineCR(channel, "ATZ");
    sleepSeconds(channel, 2);
    if (int result = awaitOk(channel); result != 0) return result;
    sendLineCR(channel, "ATE0");
    if (int result = awaitOk(channel); result != 0) return result;
    for (const char* command : {"ATX3", "ATQ1", "AT\\N2"}) {
        sleepSeconds(channel, 1);
        sendLineCR(channel, command);
        if (channel->cancelFlag.load() == kCancelled) return kCancelled;
    }
    sleepSeconds(channel, 1);
    if (channel->cancelFlag.load() == kCancelled) return kCancelled;
    purgeInput(channel);
    return 0;
}

int dialStation(Session& session, ModalContext& dialog, const DialTarget& target, bool pulse) {
    return Dialler(session, dialog, target, pulse).run();
}

int startConnection(Session& session, int station) {
    if (session.addressBook.isDirect(station)) {
        session.line.setLinkPort(-1);
        session.line.setSpeed(-1);
        return runDirectLinkSearch(session);
    }
    const SystemSettings& settings = session.settings;
    session.line.setSpeed(settings.modemSpeedIndex);
    session.line.setLinkPort(static_cast<std::int16_t>(settings.modemPortIndex + 1));
    session.connectionKind.store(static_cast<std::int16_t>(settings.dialMethod + 1));
    DialTarget target = parseTelephoneField(session.addressBook.station(station).telephone);
    session.reports.currentUnit.store(0);
    TTYInfo* channel = session.channel();
    channel->deviceOverride.clear();
    channel->portNumber.store(static_cast<std::uint8_t>(settings.modemPortIndex + 1));
    channel->baudRate.store(kSpeedTable[static_cast<std::size_t>(settings.modemSpeedIndex)]);
    if (openChannel(channel) == 0) {
        closeChannel(channel);
        return kPortUnusable;
    }
    ModalSpec spec{ModalKind::Connection, kWaitCaption, kConnectingText};
    bool pulse = settings.dialMethod == 1;
    return session.host.runModal(spec, channel->cancelFlag, [&](ModalContext& dialog) {
        dialog.setLineDevice(devicePathFor(*channel, settings.modemPortIndex + 1));
        return dialStation(session, dialog, target, pulse);
    });
}

int connectStation(Session& session, int station) {
    if (session.line.state() == LineState::Linked) return kLinkUp;
    if (!session.line.claim()) {
        report(session, kLineBusyMessage);
        return kLinkFailed;
    }
    session.reports.currentStation.store(station);
    int result = startConnection(session, station);
    if (result != kLinkUp) {
        session.line.disconnect();
        if (result != kPortUnusable) hangUp(session);
        session.line.release();
        reportLinkError(session, result);
        return result;
    }
    session.line.link();
    return kLinkUp;
}

}  // namespace fenta21
