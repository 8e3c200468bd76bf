#include "core/serial/PortOpenFailure.h"

#include <cerrno>
#include <cstring>

namespace fenta21 {
namespace {

// What a user does about the usual causes; the system's own words say the rest.
const char* remedyFor(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM: return "add the user to the dialout group";
        case ENOENT: return "the device is not there";
        case EBUSY: return "another program has it open";
        case ENOTTY: return "it is not a serial device";
        default: return nullptr;
    }
}

std::string systemWords(const PortOpenFailure& failure) {
    std::string text = std::strerror(failure.errorNumber);
    if (failure.errorNumber == EBUSY && failure.holderProcess != 0) {
        std::string who = failure.holderProgram.empty() ? "another program" : failure.holderProgram;
        return text + " — " + who + " (process " + std::to_string(failure.holderProcess) + ") has it open";
    }
    if (const char* remedy = remedyFor(failure.errorNumber)) text += std::string(" — ") + remedy;
    return text;
}

}  // namespace

std::string portOpenFailureText(const PortOpenFailure& failure) {
    const std::string com = "COM" + std::to_string(failure.portNumber);
    const std::string device = failure.devicePath + (failure.portNumber > 0 ? " (" + com + ")" : "");
    switch (failure.stage) {
        case PortOpenFailure::Stage::NoDevice:
            if (!failure.mapProblem.empty()) return com + " has no device: comports.txt " + failure.mapProblem;
            return com + " has no device: comports.txt has no line for it and no serial adapter is left for it";
        case PortOpenFailure::Stage::Open: return "cannot open " + device + ": " + systemWords(failure);
        case PortOpenFailure::Stage::Setup:
            return "cannot set " + device + " to " + std::to_string(failure.baudRate) + " bit/s, 8N1, RTS/CTS: " +
                   std::strerror(failure.errorNumber);
    }
    return {};
}

}  // namespace fenta21
