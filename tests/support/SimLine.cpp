#include "tests/support/SimLine.h"

#include "core/app/Startup.h"
#include "core/serial/Channel.h"

#include <filesystem>
#include <stdexcept>

namespace fenta21::test {

SimLine::SimLine(double scale) : clock(scale) {
    // The installed model files, as a real home folder has them.
    for (const auto& entry : std::filesystem::directory_iterator(FENTA21_CONFIG_DIR))
        std::filesystem::copy_file(entry.path(), home.file(entry.path().filename().string()));
    linkPath = home.file("ttySIM");
    home.write("comports.txt", "# the simulated logger\nCOM1 " + linkPath + "\n");
    serveInstead(logger);
    session = std::make_unique<Session>(home.path(), host, clock);
    startUp(*session);
}

SimLine::~SimLine() {
    session.reset();
    server->stop();
}

void SimLine::serveInstead(sim::SimDevice& device) {
    if (server) server->stop();
    server = std::make_unique<sim::PtyServer>(linkPath, device);
    if (!server->start()) throw std::runtime_error(server->error());
}

int SimLine::open(int portNumber) {
    TTYInfo* channel = session->channel();
    channel->portNumber.store(static_cast<std::uint8_t>(portNumber));
    channel->baudRate.store(9600);
    return openChannel(channel);
}

}  // namespace fenta21::test
