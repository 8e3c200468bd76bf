#include "core/app/Session.h"

#include "core/base/Files.h"
#include "core/collect/Logs.h"
#include "core/datafile/CFilCnv.h"
#include "core/remote/AddressBookHooks.h"
#include "core/serial/Channel.h"

namespace fenta21 {

namespace {

std::string withoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

Session::Session(std::string homeFolder, Host& hostRef, const Clock& clockRef)
    : host(hostRef), clock(clockRef), models(withoutTrailingSeparator(homeFolder)),
      homeFolder_(withoutTrailingSeparator(std::move(homeFolder))) {
    attachAddressBook(*this, addressBook);
    convertCollectedFile = [this](const std::string& dataFile) { CFilCnv(*this, models).convertFile(dataFile); };
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
