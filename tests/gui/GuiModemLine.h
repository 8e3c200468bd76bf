#pragma once

#include "sim/PtyServer.h"
#include "sim/SimModem.h"
#include "tests/gui/GuiSimLine.h"

#include <memory>

namespace fenta21::test {

// The main window over a fresh home folder with the simulated modem (echo on, its stations
// added by the test) on a pseudo-terminal as COM `comPort`; every other COM port leads
// nowhere, so no real port of the machine is ever probed. The clock runs at a fifth of real
// time: a modem's reply crosses two threads and a pseudo-terminal, and at the window tests'
// usual twentieth a loaded machine (a sanitizer build beside other builds) could miss the
// scaled 2 s a byte may take.
struct GuiModemLine {
    explicit GuiModemLine(int comPort);
    ~GuiModemLine();

    GuiSimLine line;
    sim::SimModem modem{true};
    std::unique_ptr<sim::PtyServer> port;
};

}  // namespace fenta21::test
