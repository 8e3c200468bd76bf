#pragma once

#include <string>

namespace fenta21 {

// How often and how patiently a station is dialled, from mdm.dat.
struct ModemParameters {
    int retryCount = 3;        // dial attempts per connection; 0 and 1 both mean one attempt
    int redialWaitTicks = 10;  // 100 ms ticks between hanging up and the next dial
};

// mdm.dat holds four blank-separated words: a label, the retry count, a label, the redial
// wait in seconds; the labels are ignored and the program never writes the file. The wait is
// kept in ticks (seconds x 10).
//
// A missing file gives 3 attempts and 10 ticks (1 second). Each value that is missing or does
// not begin with a decimal number keeps that default on its own, so a damaged wait never
// costs the retry count. A negative value counts as 0; the wait is capped at one day and the
// count at a million, so neither can overflow.
ModemParameters loadModemParameters(const std::string& path);

}  // namespace fenta21
