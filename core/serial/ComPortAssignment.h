#pragma once

#include "core/serial/SerialAdapters.h"

#include <string>

namespace fenta21 {

struct ComPortAssignment {
    enum class Outcome {
        Written,     // comports.txt now maps the port to `device`
        Refused,     // a bad port or device: nothing was written
        NotWritten,  // the file could not be read or written: the old one is whole
    };
    Outcome outcome = Outcome::Refused;
    int portNumber = 0;
    std::string device;  // what the line names: the stable by-id name where the device has one
    std::string why;     // for Refused and NotWritten, in plain words
};

// Maps COMn to a device in the port map file. The device must be there and be a character
// device; a bare name ("ttyUSB0") is looked for in the dev root. Its stable by-id name is
// written when it has one, so the line still holds when the adapter comes back as another
// ttyUSB number. The file is read again and changed under the home's lock (the map file's
// folder), written aside and renamed, and only when the new map gives the port that device
// and every other mapped port keeps its own.
ComPortAssignment assignComPort(const std::string& mapFile, const std::string& portWord, const std::string& device,
                                const SerialRoots& roots = {});

}  // namespace fenta21
