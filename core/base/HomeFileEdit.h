#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// How a read-change-write of a home file ended.
struct HomeFileEdit {
    enum class Outcome {
        Written,   // the new content is the file's
        Declined,  // the change gave no content: nothing was written
        Failed,    // the lock, the read or the write failed: the old file is whole
    };
    Outcome outcome = Outcome::Failed;
    std::string problem;  // for Failed, in plain words

    bool written() const { return outcome == Outcome::Written; }
};

// The file's content as it is now: nothing when there is no such file.
using FileOnDisk = std::optional<std::string>;

// One change of a file in a home folder that other programs share, under the home's lock
// (core/base/HomeLock.h): reads at most `maxBytes` of the file as it is now, lets `change`
// make the new content from it (nothing declines), writes that aside and renames it over the
// file, and calls `written`, still under the lock, so that the program's own copy is the
// file's before any other program or thread may change it again. A file that is there but
// cannot be read is not written over: what it holds would be lost unread.
HomeFileEdit editHomeFile(const std::string& path, std::size_t maxBytes,
                          const std::function<std::optional<std::string>(const FileOnDisk& now)>& change,
                          const std::function<void()>& written = {});

// A file written whole, whatever it held, under the home's lock: never in the middle of
// another program's change of it.
HomeFileEdit writeHomeFile(const std::string& path, std::string_view bytes);

// Reads at most `maxBytes` of a home file under the home's lock and hands it to `use` under
// it too, so that a program's copy and the file never pass each other. A file that is not
// there or cannot be read gives nothing; so does a home whose lock cannot be taken.
void readHomeFile(const std::string& path, std::size_t maxBytes, const std::function<void(const FileOnDisk& now)>& use);

}  // namespace fenta21
