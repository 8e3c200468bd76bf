#include "core/remote/DirectLinkSearch.h"

#include "core/session/Session.h"
#include "core/session/SettingsStore.h"
#include "core/base/Host.h"
#include "core/protocol/CommandExchange.h"
#include "core/remote/ConnectionResult.h"
#include "core/serial/Channel.h"

#include <algorithm>
#include <cstdio>

namespace fenta21 {
namespace {

constexpr int kPorts = 9;
constexpr int kLowSpeed = 5;
constexpr int kHighSpeed = 9;
constexpr int kHandshakesPerSpeed = 3;
constexpr int kModemProbeMax = 80;
// A device that keeps talking (a GPS receiver, a console) must not hold the search: after
// this many lines without "OK" the probe gives up, as the modem port search does.
constexpr int kModemProbeLines = 50;

// Marks the channel's opens as those of a search through every port, for as long as it runs.
class SearchingPorts {
public:
    SearchingPorts(TTYInfo& channel, bool allPorts) : channel_(channel) { channel_.searchingPorts.store(allPorts); }
    ~SearchingPorts() { channel_.searchingPorts.store(false); }
    SearchingPorts(const SearchingPorts&) = delete;
    SearchingPorts& operator=(const SearchingPorts&) = delete;

private:
    TTYInfo& channel_;
};

class Search {
public:
    Search(Session& session, ModalContext& dialog)
        : session_(session), channel_(session.channel()), dialog_(dialog) {}

    int run() {
        session_.connectionKind.store(3);
        if (waitTenths(channel_, 5) == kCancelled) return kCancelled;
        int linkPort = session_.line.linkPort();
        int fixedSpeed = session_.line.speed();
        int firstPort = linkPort == -1 ? session_.settings.directPortIndex + 1 : linkPort;
        int portCount = linkPort == -1 ? kPorts : 1;
        int start = fixedSpeed == -1 ? session_.settings.directSpeedIndex : fixedSpeed;
        auto speeds = speedSearchOrder(start, fixedSpeed != -1);

        SearchingPorts searching(*channel_, portCount > 1);
        for (int i = 0, port = firstPort; i < portCount; ++i, port = port % kPorts + 1) {
            int result = tryPort(port, speeds);
            if (result != kNextPort) return result;
        }
        return kLinkFailed;
    }

private:
    static constexpr int kNextPort = 1000;

    bool open(int port, int speedIndex) {
        channel_->portNumber.store(static_cast<std::uint8_t>(port));
        channel_->baudRate.store(kSpeedTable[static_cast<std::size_t>(speedIndex)]);
        return openChannel(channel_) != 0;
    }

    int closeAndWait() {
        closeChannel(channel_);
        return waitTenths(channel_, 10);
    }

    int tryPort(int port, const std::vector<int>& speeds) {
        char text[64];
        std::snprintf(text, sizeof text, "通信回線接続中(COM%d)", port);
        dialog_.setLineDevice(devicePathFor(*channel_, port));
        dialog_.setText(text);
        if (!open(port, speeds.front())) return closeAndWait() == kCancelled ? kCancelled : kNextPort;
        if (waitTenths(channel_, 10) == kCancelled) return closed(kCancelled);
        switch (probeModem()) {
        case Probe::Cancelled: return closed(kCancelled);
        case Probe::Modem: return closeAndWait() == kCancelled ? kCancelled : kNextPort;
        case Probe::NoModem: break;
        }

        for (std::size_t s = 0; s < speeds.size(); ++s) {
            if (s > 0) {
                if (!open(port, speeds[s])) return closed(kNextPort);
                if (waitTenths(channel_, 10) == kCancelled) return closed(kCancelled);
            }
            int result = handshakes(port, speeds[s]);
            if (result != kNextPort) return result;
        }
        return kNextPort;
    }

    // Up to three handshakes at one speed; the port is closed between them and after them.
    int handshakes(int port, int speedIndex) {
        for (int attempt = 0; attempt < kHandshakesPerSpeed; ++attempt) {
            if (attempt > 0) {
                if (!open(port, speedIndex)) return kNextPort;
                if (waitTenths(channel_, 10) == kCancelled) return closed(kCancelled);
            }
            int result = linkHandshake(session_);
            if (channel_->cancelFlag.load() == kCancelled) return closed(kCancelled);
            if (result == kAccepted) return found(port, speedIndex);
            if (closeAndWait() == kCancelled) return kCancelled;
        }
        return kNextPort;
    }

    enum class Probe { Modem, NoModem, Cancelled };

    // A modem answers "AT" with "OK"; a logger does not, and the first failed read says so.
    Probe probeModem() {
        purgeInput(channel_);
        sendLineCR(channel_, "AT");
        std::string line;
        for (int i = 0; i < kModemProbeLines; ++i) {
            if (readLineCR(channel_, line, kModemProbeMax) != kLineRead) break;
            if (channel_->cancelFlag.load() == kCancelled) return Probe::Cancelled;
            if (line == "OK") return Probe::Modem;
        }
        return channel_->cancelFlag.load() == kCancelled ? Probe::Cancelled : Probe::NoModem;
    }

    int found(int port, int speedIndex) {
        SystemSettings found = session_.settings;
        found.directSpeedIndex = speedIndex;
        found.directPortIndex = port - 1;
        // The link is up whether or not the file takes the port and speed; they are used for
        // this run either way and nothing is said, as a search has always done.
        if (!saveSettingsChange(session_, found)) session_.settings = found;
        return kLinkUp;
    }

    int closed(int result) {
        closeChannel(channel_);
        return result;
    }

    Session& session_;
    TTYInfo* channel_;
    ModalContext& dialog_;
};

}  // namespace

std::vector<int> speedSearchOrder(int startIndex, bool fixed) {
    std::vector<int> order{startIndex};
    if (fixed) return order;
    for (int speed = startIndex;;) {
        speed = speed <= kLowSpeed ? kHighSpeed : speed - 1;
        if (std::find(order.begin(), order.end(), speed) != order.end()) break;
        order.push_back(speed);
    }
    return order;
}

int directLinkSearch(Session& session, ModalContext& dialog) { return Search(session, dialog).run(); }

int runDirectLinkSearch(Session& session) {
    ModalSpec spec{ModalKind::Connection, kWaitCaption, kConnectingText};
    return session.host.runModal(spec, session.channel()->cancelFlag,
                                 [&](ModalContext& dialog) { return directLinkSearch(session, dialog); });
}

}  // namespace fenta21
