#pragma once

namespace fenta21 {

// The version of this build ("0.1.0"), the project's version in CMake; both programs print it
// for --version.
const char* programVersion();

}  // namespace fenta21
