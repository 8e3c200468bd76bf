#include "core/app/Session.h"

#include "core/base/Files.h"
#include "core/collect/Logs.h"
#include "core/serial/Channel.h"

namespace fenta21 {

Session::Session(std::string homeFolder, Host& hostRef, const Clock& clockRef)
    : host(hostRef), clock(clockRef), homeFolder_(std::move(homeFolder)) {
    while (homeFolder_.size() > 1 && homeFolder_.back() == '/') homeFolder_.pop_back();
}

Session::~Session() { destroySerialChannel(); }

std::string Session::homeFile(const std::string& name) const { return joinPath(homeFolder_, name); }

void Session::createSerialChannel() {
    ChannelEnvironment env;
    env.clock = &clock;
    env.logError = [this](const std::string& text) { logError(*this, text); };
    env.portMapFile = homeFile("comports.txt");
    env.lineSpeed = &line.lineSpeed;
    destroySerialChannel();
    channel_ = createChannel(std::move(env));
}

void Session::destroySerialChannel() { destroyChannel(channel_); }

CalendarTime Session::sampleClock() {
    CalendarTime now = clock.localTime();
    line.clockSample.set(now);
    return now;
}

}  // namespace fenta21
