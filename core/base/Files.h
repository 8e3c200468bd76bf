#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// The content of a regular file, or why there is none, in plain words ("is a folder").
struct FileContent {
    std::optional<std::string> bytes;
    std::string problem;  // empty when `bytes` holds the whole file
};

// Reads a regular file whole. A pipe, a device or a folder is refused without reading from
// it (a pipe would wait for a writer, a device such as /dev/zero never ends), and a file too
// large to be held in memory is a failure, never a part of it taken for the whole.
FileContent readRegularFile(const std::string& path);

// At most the first `maxBytes` of a regular file (refused as readRegularFile refuses); what
// lies beyond is never read. For files whose layout holds no more than that: a file padded
// far beyond it is read in the time and memory of its layout.
FileContent readRegularFilePrefix(const std::string& path, std::size_t maxBytes);

// The whole content of a regular file, or nothing when it cannot be read (see above).
std::optional<std::string> readWholeFile(const std::string& path);

// Writes the bytes aside (see AsideFile) in the same folder, syncs them and renames the file
// over `path`, so that readers see the old content or the new, never a torn one. The file
// keeps its permission bits. When `path` is a symbolic link, the file it leads to is the one
// replaced, in its own folder, and the link stays: a settings file shared through a link gets
// the edit. A link that leads nowhere, or one that another user made to a file not theirs,
// is a failure, as is a folder that cannot be written.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// What a file written aside for `name` is called before it replaces it:
// "<name>.tmp<unique part>".
inline constexpr const char* kReplacementInfix = ".tmp";

// Flushes a folder's entry list to disk, so that a rename inside it survives a power cut.
bool syncFolder(const std::string& folder);

// `folder` + "/" + `name`, without doubling a separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace fenta21
