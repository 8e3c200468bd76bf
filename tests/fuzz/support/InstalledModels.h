#pragma once

#include "core/protocol/ModelRegistry.h"

#include <vector>

namespace fenta21::fuzz {

// The model registry of the scratch home with type.dat read, and every model it lists as
// identified, each with its installed kind table: what the converter and the panel see.
ModelRegistry& installedRegistry();
const std::vector<CurrentModel>& installedModels();

}  // namespace fenta21::fuzz
