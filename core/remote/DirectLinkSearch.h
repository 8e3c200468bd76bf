#pragma once

#include <vector>

namespace fenta21 {

class ModalContext;
class Session;

// The speed indices a search tries on one port, in order: the start, then downwards to 5,
// then from 9 down to just above the start. A fixed speed is tried alone. A start below 5
// is tried once before one pass over 9 ... 5, so the search always moves on to the next port.
std::vector<int> speedSearchOrder(int startIndex, bool fixed);

// The search worker: tries the ports (linkPortNumber, or all nine from the saved port on) and
// the speeds (lineSpeed, or the order above) until a logger answers "CONNECT" with exactly
// "READY". A port where a modem answers "AT" with "OK" is passed over. On success the port is
// left open and the found port and speed are saved. 0 linked, -1 nothing found, 27 cancelled.
int directLinkSearch(Session& session, ModalContext& dialog);

// The search inside the connection progress window ("通信回線接続中...").
int runDirectLinkSearch(Session& session);

}  // namespace fenta21
