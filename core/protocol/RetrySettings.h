#pragma once

#include <string>

namespace fenta21 {

// How hard the command exchange tries, from cmd.dat.
struct RetrySettings {
    int tries = 3;         // R: sendings of a command before the exchange gives up
    int readsPerTry = 1;   // W: line reads per sending (the file holds twice this)
    int panelLimit = 0;    // L: the panel stops polling after L x 120 ticks; 0 = never
};

// cmd.dat holds three pairs of a word and an integer; the words are ignored. A missing file
// gives 3, 1 and 0. A file that holds fewer pairs, or a count below one, still gives at least
// one sending and one read, so the exchange can never end without having read a reply.
RetrySettings loadRetrySettings(const std::string& path);

}  // namespace fenta21
