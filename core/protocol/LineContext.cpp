#include "core/protocol/LineContext.h"

#include "core/report/Logs.h"
#include "core/report/Report.h"
#include "core/serial/Channel.h"
#include "core/serial/PortOpenFailure.h"

#include <cerrno>

namespace fenta21 {

LineContext::LineContext(std::string homeFolder, Host& host, const Clock& clock)
    : Reporting(std::move(homeFolder), host, clock) {}

LineContext::~LineContext() { destroySerialChannel(); }

void LineContext::createSerialChannel() {
    ChannelEnvironment env;
    env.clock = &clock;
    env.logError = [this](const std::string& text) { logError(*this, text); };
    env.portMapFile = homeFile("comports.txt");
    env.speedOpened = [this](std::int32_t bitsPerSecond) { line.setSpeed(bitsPerSecond); };
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

void LineContext::destroySerialChannel() { destroyChannel(channel_); }

}  // namespace fenta21
