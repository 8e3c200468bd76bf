#pragma once

#include <string>
#include <string_view>

namespace fenta21 {

// Why the bytes cannot be a data file, in plain words ("its record area starts at 0x54414420,
// beyond its end (1200 bytes)"), or empty when they can be one. Only what the program itself
// reads is checked: the header up to the memo texts, and a record area that starts after it,
// inside the file, and does not end before it starts. A data file cut short behind its start
// still passes: the viewer shows what it holds.
std::string notADataFileReason(std::string_view image);

// The pages of records (2048 a page) the record area fills within the file; an empty area
// still shows one, empty, page.
int recordPageCount(std::string_view image);

}  // namespace fenta21
