#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// The installation file of a model in the home folder: "<home>/<code><extension>", for the
// kind table (".dat") and the header reference file (".hed"). A model code comes from a
// logger or a data file, so a code that could leave the home folder or name no plain file
// (empty, ".", "..", a path separator or a control byte) gives no path at all.
std::optional<std::string> modelFilePath(const std::string& homeFolder, std::string_view modelCode,
                                         std::string_view extension);

}  // namespace fenta21
