#pragma once

#include <string>

namespace fenta21 {

class Session;

// rsvflg.dat: one signed 16-bit value; 1 means the scheduler was on when the program ended.
bool readReservationFlag(const std::string& path);

// Loads everything a session needs from its home folder, in the order the program has
// always used: the retry settings, the serial channel record, system.dat, and the
// reservation flag. Later loads (model table, modem timing, address book, reservation list)
// join this sequence at their place.
void startUp(Session& session);

// The two halves of startUp, for a program that builds its window between them: what the
// remote-operation view loads when it is created (cmd.dat, mdm.dat, type.dat), and what the
// main window loads once its bars and heartbeat exist (the serial channel, system.dat, the
// address book, the reservation list and rsvflg.dat); it also clears the home and data
// folders of files that killed programs left aside.
void startUpView(Session& session);
void startUpFrame(Session& session);

}  // namespace fenta21
