#include "core/app/ProgramVersion.h"

namespace fenta21 {

// The build passes the project's version to this file alone, so that a new version number
// recompiles one file and not the whole library.
const char* programVersion() { return FENTA21_VERSION; }

}  // namespace fenta21
