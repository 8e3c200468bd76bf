#pragma once

#include <string>
#include <vector>

namespace fenta21 {

// Removes from `folder` the files this program wrote aside and whose writer is gone, as a
// program killed in mid-write leaves them; returns their names. Only the program's own names
// are looked at, only regular files (never through a link), and only when nothing holds
// them:
// - "XDM-<pid>-<random>.V38" / ".txt" (a transfer) and "<file>.tmp<pid>-<random>" (a file
//   that was to replace <file>): when no process holds the file's lock and its process id
//   is gone;
// - "<file>.tmp<pid>", as older versions wrote a replacement, for a <file> the program
//   writes (.csv, .dat, .hed, .txt): when that process id is gone;
// - "XDM-0000.V38" / ".txt", the one transfer name of older versions, which recorded no
//   owner: when no process holds its lock and it has not changed for an hour, far longer
//   than any transfer waits for a block.
std::vector<std::string> removeLeftoverFiles(const std::string& folder);

}  // namespace fenta21
