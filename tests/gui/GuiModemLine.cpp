#include "tests/gui/GuiModemLine.h"

#include <stdexcept>

namespace fenta21::test {

GuiModemLine::GuiModemLine(int comPort) : line(gui::MainMenuKind::WithoutOptions, 0.2) {
    std::string path = line.home.file("ttyMODEM");
    port = std::make_unique<sim::PtyServer>(path, modem);
    if (!port->start()) throw std::runtime_error("no pseudo-terminal for the modem: " + port->error());
    std::string map;
    for (int n = 1; n <= 9; ++n)
        map += "COM" + std::to_string(n) + " " + (n == comPort ? path : line.home.file("absent")) + "\n";
    line.home.write("comports.txt", map);
}

GuiModemLine::~GuiModemLine() { port->stop(); }

}  // namespace fenta21::test
