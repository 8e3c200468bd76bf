#pragma once

namespace fenta21 {

class Session;

// The remote link ("ﾘﾓｰﾄ接続") to a station chosen in the station chooser, up to where the
// panel takes over: the station becomes the current one, it is connected (dialled, or
// searched for on a direct cable; failures are reported there), and when the line is up its
// first unit is selected. Returns the connection result: 0 with the line linked for the
// panel, else the reported failure. A station without a name is not connected (-1, nothing
// sent).
//
// A station whose telephone field lists no units has one logger on its line: no unit is
// selected, since the logger would otherwise be sent "_COM-1", which names no unit.
int linkToStation(Session& session, int station);

}  // namespace fenta21
