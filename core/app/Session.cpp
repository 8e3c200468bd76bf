#include "core/app/Session.h"

#include "core/base/Files.h"
#include "core/collect/Logs.h"
#include "core/collect/Report.h"
#include "core/datafile/CFilCnv.h"
#include "core/remote/AddressBookHooks.h"
#include "core/serial/Channel.h"
#include "core/serial/PortOpenFailure.h"

#include <cerrno>

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
    csvConverter = [this](const std::string& dataFile) {
        CFilCnv converter(*this, models);
        // A reserved collection runs on the scheduler's thread with the line held: a question
        // would hold both until someone came by to answer it.
        if (reports.reservedCollectionMode.load())
            converter.goOnWithoutAsking([this](const std::string& note) { logReservation(*this, stationTag(*this) + note); });
        return converter.convertFile(dataFile);
    };
    syncFolder = fenta21::syncFolder;
}

Session::~Session() { destroySerialChannel(); }

std::string Session::homeFile(const std::string& name) const { return joinPath(homeFolder_, name); }

void Session::createSerialChannel() {
    ChannelEnvironment env;
    env.clock = &clock;
    env.logError = [this](const std::string& text) { logError(*this, text); };
    env.portMapFile = homeFile("comports.txt");
    env.lineSpeed = &line.lineSpeed;
    env.openFailed = [this](const PortOpenFailure& failure) {
        // The fixed lines say only that the port could not be used; a port another program
        // holds is said as such, with who holds it, for whoever reads the logs later.
        if (failure.stage == PortOpenFailure::Stage::Open && failure.errorNumber == EBUSY) {
            std::string text = portOpenFailureText(failure);
            logError(*this, text);
            if (reports.reservedCollectionMode.load()) logReservation(*this, stationTag(*this) + text);
        }
        if (portNotOpened) portNotOpened(failure);
    };
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
