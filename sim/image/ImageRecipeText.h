#pragma once

#include "sim/image/DataImage.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21::sim {

// A recipe written as text, one setting a line, so that a test's input can stand in a file
// beside its expected output and anyone can read what the image holds:
//
//   # comment
//   model WNDA-01                  station 観測所A       memo 1 text of memo line 1
//   battery 12.6                   area-start 640        start-markers 3
//   first 2026-04-01 00:00:00      interval 600          instants 6
//   channel CH KIND FIRST STEP [from INSTANT] [wave AMPLITUDE PERIOD] [noise AMPLITUDE]
//   missing INSTANT INDEX          damaged INSTANT INDEX       gap INSTANT COUNT
//   trailing-record 2026-04-01 01:00:00 CH KIND VALUE
//   trailing-marker COUNT          trailing-unwritten COUNT
//   end-offset N                   start-offset N        minimum-bytes N
//
// Texts are UTF-8 here and code page 932 in the image; numbers may be written 0x... .
struct ParsedRecipe {
    ImageRecipe recipe;
    std::string error;  // empty when every line was understood
    // Lines whose first word is none of the above, when the caller asked for them.
    std::vector<std::string> otherLines;
};

ParsedRecipe parseImageRecipe(std::string_view text, bool keepOtherLines = false);

}  // namespace fenta21::sim
