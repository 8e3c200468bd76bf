#pragma once

#include "core/session/Session.h"
#include "sim/PtyServer.h"
#include "sim/SimLogger.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <memory>

namespace fenta21::test {

// A session in a fresh home folder whose COM1 is a pseudo-terminal with the simulated logger
// at its far end, on a clock scaled so that the 2 s byte time-out lasts `scale` x 2 s.
class SimLine {
public:
    explicit SimLine(double scale = 0.05);
    ~SimLine();

    // Opens COM1 (or the port number given) through the session's channel: 1 or 0.
    int open(int portNumber = 1);
    // Serves `device` on COM1 from now on, in place of the logger (a device in front of it,
    // say); the device must outlive the line.
    void serveInstead(sim::SimDevice& device);

    TempHome home;
    TestClock clock;
    ScriptedHost host;
    sim::SimLogger logger;
    std::unique_ptr<sim::PtyServer> server;
    std::unique_ptr<Session> session;
    std::string linkPath;
};

}  // namespace fenta21::test
