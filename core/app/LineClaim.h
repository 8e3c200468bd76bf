#pragma once

namespace fenta21 {

class Session;

// Takes the idle line for a new link in one step (idle -> setting up). Two threads that try
// at once (the scheduler and a command of the window) can never both win: the loser is told
// the line is busy instead of sharing the port.
bool claimLine(Session& session);

inline constexpr const char* kLineBusyMessage = "すでに回線接続中です!!     ";

}  // namespace fenta21
