#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes the bytes under a temporary name in the same folder, syncs them and renames the
// file over `path`, so that readers see the old content or the new, never a torn one.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Flushes a folder's entry list to disk, so that a rename inside it survives a power cut.
bool syncFolder(const std::string& folder);

// `folder` + "/" + `name`, without doubling a separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace fenta21
