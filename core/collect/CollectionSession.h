#pragma once

namespace fenta21 {

class Session;

// One collection on a linked line, for a station (-1: the direct line), with the session's
// collect command: the folder is resolved and must exist (100), the file is named, and the
// receiver runs behind the "データ回収" progress window. Returns the collection result; on
// anything but success lastDataFile is cleared.
int collect(Session& session, int station);

}  // namespace fenta21
