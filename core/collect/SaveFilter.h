#pragma once

#include <string>

namespace fenta21 {

// What the save question of a collection offers besides the name it suggests: the data file
// kind for a binary collection, the text kind for a text listing, told by the suggested name's
// extension. Empty for any other name: the dialog then shows every file.
std::string saveFilterFor(const std::string& suggestedPath);

inline constexpr const char* kTextFileFilter = " Ascii data (*.txt)|*.txt";

}  // namespace fenta21
