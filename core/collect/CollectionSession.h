#pragma once

#include "core/events/Events.h"

#include <string>

namespace fenta21 {

class CollectionContext;

// One collection on a linked line, for a station (-1: the direct line), with the session's
// collect command: the folder is resolved and must exist (100), the file is named, and the
// receiver runs behind the "データ回収" progress window. Returns the collection result; on
// anything but success lastDataFile is cleared. Once the file is stored, "clear" answered and
// the CSV written, its outcome is published as CollectionFinished, started as `origin` says.
int collect(CollectionContext& session, int station, CollectionOrigin origin);
inline int collect(CollectionContext& session, int station) {
    return collect(session, station, station < 0 ? CollectionOrigin::Direct : CollectionOrigin::Station);
}

// Announces a try at a station's logger (`unit`, 0 for a line with one) that never came to a
// transfer: the line was busy or could not be set up, or the unit did not answer its
// selection. Listeners hear it as a collection that ended in `result` with `message` and
// stored nothing, so that a station that cannot be reached is seen failing as one whose
// transfers fail.
void announceUnreached(CollectionContext& session, int station, int unit, CollectionOrigin origin, const CalendarTime& started,
                       int result, const std::string& message);

}  // namespace fenta21
