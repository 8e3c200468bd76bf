#pragma once

#include "core/events/Events.h"

namespace fenta21 {

class Session;

// Collects the new records of an address-book station: connects, collects "copy" from the
// station (from each of its units in turn, when its telephone field lists units behind one
// line), disconnects and reports the result, which it returns. A unit with nothing new does
// not stop the run: the result is the first failure of another kind, else success when any
// unit was collected, else nothing new. A line in use is refused with
// "すでに回線接続中です!!     " (-1), unless it is the panel's link to a direct-line
// station, which is collected at once. Each unit's collection is announced as started by
// `origin`.
int collectStation(Session& session, int station, CollectionOrigin origin = CollectionOrigin::Station);

}  // namespace fenta21
