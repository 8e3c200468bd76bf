#pragma once

#include <string>

namespace fenta21 {

enum class NameClaim {
    Claimed,  // the file now has the name, and nothing had it before
    Taken,    // something already has the name; it is left as it was
    Failed,   // the file could not be moved (it stays where it was)
};

// Gives the file at `from` the name `to` (in the same folder) only while no other file has
// it: another program sharing the folder may have stored its own file there a moment ago,
// and a plain rename would put this one in its place. Where the file system cannot rename
// that way, a hard link makes the new name, which fails just as well when it is taken.
NameClaim claimName(const std::string& from, const std::string& to);

}  // namespace fenta21
