#pragma once

#include "core/panel/PanelContext.h"
#include "core/session/OptionPrograms.h"
#include "core/session/SystemSettings.h"
#include "core/stations/AddressBook.h"
#include "core/stations/ModemParameters.h"
#include "core/stations/ReservationTable.h"

#include <atomic>
#include <string>
#include <vector>

namespace fenta21 {

// One program's state, passed by reference. It is built from parts, each owned here and each
// a layer's own: reporting and logs (Reporting), the line (LineContext: the channel, the retry
// settings, the line words), collecting (CollectionContext), the panel (PanelContext), and at
// this level the configuration of system.dat and the modem, and the stations and reservations.
// Code below this level takes the part it uses, and a Session is handed to it as that part.
// Tests build as many as they need.
class Session : public PanelContext {
public:
    Session(std::string homeFolder, Host& host, const Clock& clock);

    // Configuration.
    SystemSettings settings;
    ModemParameters modem;
    // The option programs found beside the program at start-up, in the order the option list
    // shows them; the table is not scanned again while the program runs.
    std::vector<OptionProgram> optionPrograms;

    // Stations and reservations.
    AddressBook addressBook;
    ReservationTable reservations;
    std::atomic<bool> reservationRunning{false};
};

}  // namespace fenta21
